#include "playlist/playlist_parser.h"

#include <cmath>

#include "playlist/beat_grid.h"
#include "playlist_fixture.h"

namespace tw {
namespace {

using testing::PlaylistFixture;
using testing::Song;

class ParsePlaylistTextTest : public PlaylistFixture {
 protected:
  bool Parse(const QString& text) { return ParsePlaylistText(songs(), text, playlist_); }
};

TEST_F(ParsePlaylistTextTest, OneSongPlaysAtItsOwnRate) {
  SongRecord r = Song("Artist", "Title", 124);
  r.label = "Lab'el";
  r.introfade = 1;
  r.breakmute = 2.5f;
  const QString id = Add(r);
  ASSERT_TRUE(Parse(id + "|245.37"));
  ASSERT_EQ(playlist_.size(), 1);
  const PlaylistEntry& e = playlist_.entries[0];
  EXPECT_EQ(playlist_.current, 0);
  EXPECT_EQ(e.track, 1);
  EXPECT_EQ(e.id, id);
  EXPECT_EQ(e.frequency, 44100);
  EXPECT_EQ(e.pitch, "  0.00%");
  EXPECT_FLOAT_EQ(e.playbackbpm, 124);
  EXPECT_FLOAT_EQ(e.playtime, 245.37f);
  EXPECT_EQ(e.shortened, 0);
  EXPECT_EQ(e.label, "Lab'el");
  EXPECT_EQ(e.year, "2001");
  EXPECT_EQ(e.introfade, 1);
  EXPECT_FLOAT_EQ(e.breakmute, 2.5f);
  EXPECT_EQ(e.introbeatlist.count('\n'), 32);
  EXPECT_EQ(e.breakbeatlist.count('\n'), 32);
}

TEST_F(ParsePlaylistTextTest, TempoFollowsTheAnchorUntilTheNextMark) {
  SongRecord first = Song("A", "One", 120);
  first.breakloopstart = 102;
  first.breakloopend = 104;
  first.breaklooprepeat = 2;  // break: 10 s + 2 x 2 s = 14 s
  SongRecord second = Song("B", "Two", 122);
  second.introstart = 10;
  second.introend = 25;  // intro: 15 s
  SongRecord third = Song("C", "Three", 118);
  const QString a = Add(first), b = Add(second), c = Add(third);

  ASSERT_TRUE(Parse(a + "R," + b + "," + c + "R|200.00,180.00S,90.00"));
  ASSERT_EQ(playlist_.size(), 3);
  const PlaylistEntry& e2 = playlist_.entries[1];
  EXPECT_FLOAT_EQ(e2.playbackbpm, 120);
  EXPECT_EQ(e2.frequency, std::lround(15.0f / 14.0f * 44100.0f));
  EXPECT_EQ(e2.pitch, " -1.64%");  // 120 / 122 - 1 = -1.639 %
  EXPECT_FLOAT_EQ(e2.playtime, 180);
  EXPECT_EQ(e2.shortened, 1);
  EXPECT_EQ(e2.track, 2);
  // A marked song plays at its own rate whatever its tempo.
  const PlaylistEntry& e3 = playlist_.entries[2];
  EXPECT_EQ(e3.frequency, 44100);
  EXPECT_EQ(e3.pitch, "  0.00%");
  EXPECT_FLOAT_EQ(e3.playbackbpm, 118);
}

TEST_F(ParsePlaylistTextTest, PitchTexts) {
  EXPECT_EQ(PitchText(118.2f, 120), " -1.50%");
  EXPECT_EQ(PitchText(121.8f, 120), "+1.50%");
  EXPECT_EQ(PitchText(120, 120), "+0.00%");
  EXPECT_EQ(PitchText(120, 0), "+0.00%");  // a song without a tempo
}

TEST_F(ParsePlaylistTextTest, AMissingSongEndsTheParse) {
  const QString a = Add(Song("A", "One", 120)), b = Add(Song("B", "Two", 121));
  ASSERT_TRUE(Parse(a + "R," + b + ",999," + a + "|1.00,2.00,3.00,4.00"));
  EXPECT_EQ(playlist_.size(), 2);
  EXPECT_FALSE(Parse("999R," + a + "|1.00,2.00"));
  EXPECT_TRUE(playlist_.empty());
  EXPECT_EQ(playlist_.current, -1);
  EXPECT_FALSE(Parse(""));
}

TEST_F(ParsePlaylistTextTest, AnIdThatIsNotANumberEndsTheParseAndNeverReachesTheDatabase) {
  const QString a = Add(Song("A", "One", 120));
  for (const QString& bad : {QString("1' OR '1'='1"), QString("1;DELETE FROM music"), QString("-1"),
                             QString("1.0"), QString("")}) {
    ASSERT_TRUE(Parse(a + "R," + bad + "," + a + "|1.00,2.00,3.00")) << bad.toStdString();
    EXPECT_EQ(playlist_.size(), 1) << bad.toStdString();
  }
  EXPECT_EQ(songs().LookupInteger("SELECT COUNT(id) FROM music"), 1);
}

TEST_F(ParsePlaylistTextTest, TimesAreReadLeniently) {
  const QString a = Add(Song("A", "One", 120));
  ASSERT_TRUE(Parse(a + "," + a + "," + a + "|12.5x,S"));
  EXPECT_FLOAT_EQ(playlist_.entries[0].playtime, 12.5f);
  EXPECT_FLOAT_EQ(playlist_.entries[1].playtime, 0);
  EXPECT_EQ(playlist_.entries[1].shortened, 1);
  EXPECT_FLOAT_EQ(playlist_.entries[2].playtime, 0);  // the time list is shorter
}

TEST_F(ParsePlaylistTextTest, MarkersKeepTheirMinimumDistances) {
  SongRecord r = Song("A", "One", 120);
  r.introprefix = 0.01f;
  r.breakcontinue = 0.005f;
  r.skipstart = 20;    // at the intro end
  r.skipend = 99.99f;  // 0.01 s before the break
  SongRecord unset = Song("B", "Two", 120);
  unset.skipend = 0;  // no skip region: nothing moves
  unset.skipstart = 20;
  ASSERT_TRUE(Parse(Add(r) + "," + Add(unset) + "|1.00,2.00"));
  const PlaylistEntry& e = playlist_.entries[0];
  EXPECT_FLOAT_EQ(e.introprefix, 0.015f);
  EXPECT_FLOAT_EQ(e.breakcontinue, 0.015f);
  EXPECT_FLOAT_EQ(e.skipstart, 20.015f);
  EXPECT_FLOAT_EQ(e.skipend, 99.985f);
  EXPECT_FLOAT_EQ(playlist_.entries[1].skipstart, 20);
}

TEST_F(ParsePlaylistTextTest, SectionsWithoutLengthKeepThePreviousRate) {
  SongRecord no_break = Song("A", "One", 120);
  no_break.breakstart = 0;
  no_break.breakend = 0;
  SongRecord no_intro = Song("B", "Two", 120);
  no_intro.introstart = 0;
  no_intro.introend = 0;
  const QString a = Add(no_break), b = Add(no_intro), c = Add(Song("C", "Three", 120));
  ASSERT_TRUE(Parse(a + "," + b + "," + c + "|1.00,2.00,3.00"));
  for (const PlaylistEntry& e : playlist_.entries) EXPECT_EQ(e.frequency, 44100);
}

}  // namespace
}  // namespace tw
