#include "playlist/song_play_time.h"

#include <gtest/gtest.h>

#include "engine/decode_fixtures.h"

namespace tw {
namespace {

TEST(SongPlayTime, ByPositionWithTheBreakLoop) {
  const SongLengthProbe five_minutes = [](const QString&) { return 300.0; };
  struct Case {
    int position;
    float loop_start, loop_end;
    int64_t repeat;
    float expected;
  } cases[] = {
      {kFirstSong, 0, 0, 4, 110},      // no loop: the repeat count does not count
      {kFirstSong, 102, 104, 3, 116},  // three more passes of a 2 s loop
      {kMiddleSong, 0, 0, 1, 90},      // break end - intro end
      {kMiddleSong, 102, 104, 3, 96},  //
      {kLastSong, 102, 104, 3, 280},   // file length - intro end; the loop is inside it
      {1, 102, 104, 3, 0},             // no such position
      {5, 0, 0, 0, 0},                 //
  };
  for (const Case& c : cases) {
    EXPECT_FLOAT_EQ(SongPlayTime(c.position, 20, 110, c.loop_start, c.loop_end, c.repeat,
                                 "song.wav", five_minutes),
                    c.expected)
        << c.position << " " << c.repeat;
  }
}

TEST(SongPlayTime, TheLastSongIsMeasuredByTheEngine) {
  test::TempDir dir;
  const std::string path = dir.File("last.wav");
  ASSERT_TRUE(test::WriteWav(path, std::vector<int16_t>(test::kRate * 25 / 2 * 2), 2));  // 12.5 s
  const SongLengthProbe engine = EngineSongLength();
  EXPECT_FLOAT_EQ(SongPlayTime(kLastSong, 2.5f, 10, 0, 0, 0, QString::fromStdString(path), engine),
                  10.0f);
  // A file that cannot be opened has no length: the time comes out negative.
  EXPECT_LT(SongPlayTime(kLastSong, 2.5f, 10, 0, 0, 0, QString::fromStdString(dir.File("none.wav")),
                         engine),
            0);
  const std::string garbage = dir.File("garbage.mp3");
  ASSERT_TRUE(test::WriteBytes(garbage, test::Bytes(4000, 'x')));
  EXPECT_LT(SongPlayTime(kLastSong, 2.5f, 10, 0, 0, 0, QString::fromStdString(garbage), engine), 0);
}

}  // namespace
}  // namespace tw
