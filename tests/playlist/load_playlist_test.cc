#include "playlist/load_playlist.h"

#include "playlist_fixture.h"

namespace tw {
namespace {

using testing::PlaylistFixture;
using testing::Song;

class LoadPlaylistTest : public PlaylistFixture {
 protected:
  LoadPlaylistTest() {
    a_ = Add(Song("A", "One", 120));
    b_ = Add(Song("B", "Two", 121));
    c_ = Add(Song("C", "Three", 122));
  }

  QString Text() const { return a_ + "R," + b_ + "," + c_ + "|110.00,90.00,280.00"; }

  QString a_, b_, c_;
};

TEST_F(LoadPlaylistTest, ReplacesThePlaylistThenShowsAndCuesIt) {
  ASSERT_TRUE(LoadPlaylist(services_, a_ + "|100.00", false));
  sink_.calls.clear();
  ASSERT_TRUE(LoadPlaylist(services_, Text(), false));
  ASSERT_EQ(playlist_.size(), 3);
  EXPECT_EQ(playlist_.current, 0);
  EXPECT_EQ(playlist_.entries[2].id, c_);
  const std::vector<std::string> expected = {"release", "rows 3", "first " + a_.toStdString(),
                                             "stop", "cue 0"};
  EXPECT_EQ(sink_.calls, expected);
  ASSERT_EQ(sink_.rows.size(), 3u);
  EXPECT_EQ(sink_.rows[1].song, "B - TWO");
  EXPECT_EQ(sink_.rows[2].incremental_time, "00:08:00");
}

TEST_F(LoadPlaylistTest, CuesTheStoredRowOnlyWhenRestoring) {
  struct Case {
    bool restore;
    const char* stored;
    const char* cued;
  } cases[] = {
      {false, "2", "cue 0"},  // a new playlist starts at the top and reloads the preferences
      {true, "2", "cue 2"},   //
      {true, "-1", "cue 0"},  // no row was selected
      {true, "3", "cue 0"},   // beyond the end: the text was edited or songs were deleted
  };
  for (const Case& c : cases) {
    WritePreferences({{"Session", {{"Playlist position", c.stored}}}});
    sink_.calls.clear();
    ASSERT_TRUE(LoadPlaylist(services_, Text(), c.restore));
    EXPECT_EQ(sink_.calls.back(), c.cued) << c.restore << " " << c.stored;
  }
}

TEST_F(LoadPlaylistTest, ATextWithoutAKnownFirstSongChangesNothing) {
  ASSERT_TRUE(LoadPlaylist(services_, Text(), false));
  sink_.calls.clear();
  for (const QString& text : {QString(""), QString("999R," + a_ + "|1.00,2.00"), QString("|"),
                              QString("x" + a_ + "|1.00")}) {
    EXPECT_FALSE(LoadPlaylist(services_, text, false)) << text.toStdString();
  }
  EXPECT_TRUE(sink_.calls.empty());  // the rows and the playback of the old playlist stay
  EXPECT_EQ(playlist_.size(), 3);
}

TEST_F(LoadPlaylistTest, AMalformedIdEndsThePlaylistAndNeverReachesTheDatabase) {
  const QString before = songs().LookupText("SELECT group_concat(id || artist) FROM music");
  for (const QString& bad : {QString("0' OR '1'='1"), QString("1'; DELETE FROM music; --"),
                             QString("2); DROP TABLE music; --"), QString(" 1 2"), QString("١")}) {
    sink_.calls.clear();
    ASSERT_TRUE(LoadPlaylist(services_, a_ + "R," + b_ + "," + bad + "," + c_ + "|1,2,3,4", false));
    EXPECT_EQ(playlist_.size(), 2) << bad.toStdString();
    EXPECT_EQ(sink_.calls[1], "rows 2");
  }
  EXPECT_EQ(songs().LookupText("SELECT group_concat(id || artist) FROM music"), before);
}

TEST_F(LoadPlaylistTest, StoresTheSessionPlaylist) {
  ASSERT_TRUE(StoreSessionPlaylist(paths_, Text()));
  EXPECT_EQ(StoredIds(), Text());
}

}  // namespace
}  // namespace tw
