#include <gtest/gtest.h>

#include "app/core/transport_rules.h"

namespace tw {
namespace {

TEST(NowPlayingLines, FollowTheFieldsThatAreSet) {
  struct Case {
    const char* year;
    const char* label;
    const char* catno;
    const char* line2;
  };
  for (const Case& c : {Case{"1985", "ACME", "AC-1", "1985, ACME (AC-1)"},
                        Case{"1985", "", "AC-1", "1985 (AC-1)"}, Case{"", "ACME", "", "ACME"},
                        Case{"", "", "AC-1", ""}, Case{"1899", "ACME", "AC-1", "ACME (AC-1)"}}) {
    PlaylistEntry e;
    e.artist = "Artist";
    e.title = "Title";
    e.year = c.year;
    e.label = c.label;
    e.catno = c.catno;
    e.country = "Holland";
    const NowPlayingText text = NowPlayingLines(e);
    EXPECT_EQ(text.lines[0], "Artist - Title");
    EXPECT_EQ(text.lines[1], c.line2) << c.year << c.label << c.catno;
    EXPECT_EQ(text.lines[2], "Holland");
    EXPECT_TRUE(text.flag_allowed);
  }
  PlaylistEntry nameless;
  nameless.title = "Title";
  nameless.filename = "dir/song.mp3";
  nameless.year = "1985";
  nameless.country = "UK";
  const NowPlayingText text = NowPlayingLines(nameless);
  EXPECT_EQ(text.lines[0], "dir/song.mp3");
  EXPECT_TRUE(text.lines[1].isEmpty());
  EXPECT_TRUE(text.lines[2].isEmpty());
  EXPECT_FALSE(text.flag_allowed);
}

// A second song: intro 10 to 40 s, break 200 to 232 s, running time 220 s.
PlaylistEntry SecondSong() {
  PlaylistEntry a;
  a.track = 2;
  a.introstart = 10;
  a.introend = 40.3f;
  a.breakstart = 200;
  a.breakend = 232;
  a.playtime = 220;
  return a;
}

TEST(PositionSlider, CoversThePartThatPlaysAlone) {
  PlaylistEntry a = SecondSong();
  // 220 - 32 s of break, less the next song's 1.5 s prestart, less 100 ms.
  EXPECT_EQ(PositionSliderMaximum(a, 1.5f, false), 186400);
  // The last song runs to its end; shortened, it ends 100 ms early like the others.
  EXPECT_EQ(PositionSliderMaximum(a, 0, true), 220000);
  a.shortened = 1;
  EXPECT_EQ(PositionSliderMaximum(a, 0, true), 219900);
  a.breakloopstart = 220;
  a.breakloopend = 228;
  a.breaklooprepeat = 1;
  EXPECT_EQ(PositionSliderMaximum(a, 0, false), 220000 - 40000 - 100);
}

TEST(PositionSlider, ShowsAndSeeksSongTimeWithoutIntroAndSkip) {
  PlaylistEntry a = SecondSong();
  // 10 s after the intro end reads about 00:10.
  EXPECT_EQ(SliderValueFor(a, 50.3) / 1000, 9);
  EXPECT_EQ(SliderValueFor(a, 30.0), -1);  // still in the intro
  EXPECT_DOUBLE_EQ(SeekSeconds(a, 10000, 186400), 50);
  // The slider's last two seconds seek two seconds earlier.
  EXPECT_DOUBLE_EQ(SeekSeconds(a, 185400, 186400), 185 + 40 - 2);
  // Shortened: 20 s after a skip from 100 to 130 s shows no skipped seconds.
  a.shortened = 1;
  a.skipstart = 100;
  a.skipend = 130;
  EXPECT_EQ(SliderValueFor(a, 150.0), static_cast<int>((150 - 30 - 40.3) * 1000));
  EXPECT_DOUBLE_EQ(SeekSeconds(a, 80000, 186400), 150);
}

TEST(TransitionClock, RunsOverBreakContinueAndPrestart) {
  PlaylistEntry a = SecondSong(), b;
  a.breakcontinue = 2.4f;
  b.introprefix = 1.6f;
  EXPECT_EQ(TransitionSeconds(a, b, false), 36);  // 32 + 2.4 -> 34, + 1.6 -> 36
  EXPECT_EQ(TransitionSeconds(a, b, true), 34);
  b.introfade = 1;
  EXPECT_EQ(TransitionSeconds(a, b, false), 34);
}

TEST(SpectrumBars, TakeEachBandsPeak) {
  std::array<float, 1024> magnitudes{};
  magnitudes[1] = 0.01f;    // band 0: bin 1
  magnitudes[1000] = 1.0f;  // the last band reaches bin 1023
  const std::array<int, 16> bars = SpectrumBars(magnitudes, 50);
  EXPECT_EQ(bars[0], 11);   // sqrt(0.01) * 3 * 50 - 4
  EXPECT_EQ(bars[15], 50);  // clamped to the height
  for (int x = 1; x < 15; ++x) EXPECT_EQ(bars[static_cast<size_t>(x)], 0) << x;
}

}  // namespace
}  // namespace tw
