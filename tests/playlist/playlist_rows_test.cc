#include "playlist/playlist_rows.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(FormatDuration, RoundsHalfToEven) {
  struct Case {
    double seconds;
    bool hours;
    const char* expected;
  } cases[] = {
      {0, false, "00:00"},
      {59.5, false, "01:00"},
      {60.5, false, "01:00"},
      {61.5, false, "01:02"},
      {245.37, false, "04:05"},
      {3725, true, "01:02:05"},
      {3725, false, "62:05"},
      {-3.4, false, "-00:03"},
      // Times from a hand-edited file that no song can have.
      {1e20, true, "00:00:00"},
      {-1e20, false, "00:00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDuration(c.seconds, c.hours), c.expected) << c.seconds;
  }
}

PlaylistEntry Entry(int64_t track, QString artist, QString title, float playtime) {
  PlaylistEntry e;
  e.track = track;
  e.artist = std::move(artist);
  e.title = std::move(title);
  e.filename = "House/track.mp3";
  e.playtime = playtime;
  e.bpm = 95.5f;
  e.playbackbpm = 124;
  e.pitch = "+1.50%";
  return e;
}

TEST(PlaylistRows, ShowEveryColumnAsTheListWantsIt) {
  Playlist playlist;
  playlist.entries = {Entry(1, "Artist", "Title é", 0.5f), Entry(7, "", "Only title", 1.5f),
                      Entry(1000, "A", "", 100.4f)};
  const std::vector<PlaylistRow> rows = PlaylistRows(playlist);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (PlaylistRow{"001", "ARTIST - TITLE É", "00:00", "00:00:00", "095.50",
                                  "124.00", "+1.50%"}));
  EXPECT_EQ(rows[1].track, "007");
  EXPECT_EQ(rows[1].song, "House/track.mp3");       // in its own case
  EXPECT_EQ(rows[1].incremental_time, "00:00:02");  // 0 + 1.5 rounds to even
  EXPECT_EQ(rows[2].track, "100");                  // cut to three characters
  EXPECT_EQ(rows[2].song, "House/track.mp3");
  EXPECT_EQ(rows[2].incremental_time, "00:01:42");  // 2 + 100.4 -> 102
}

}  // namespace
}  // namespace tw
