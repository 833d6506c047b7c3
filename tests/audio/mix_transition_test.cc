// Transitions rendered offline through the scheduler on a decoding mixer: click songs in
// separate channels make every beat of both songs measurable to the frame.
#include <gtest/gtest.h>

#include "audio/mix_fixture.h"

namespace tw::testing {
namespace {

constexpr int64_t kOneMs = kRate / 1000;

// The frames of `onsets` in [from, to).
std::vector<int64_t> Between(const std::vector<int64_t>& onsets, int64_t from, int64_t to) {
  std::vector<int64_t> in;
  for (int64_t f : onsets) {
    if (f >= from && f < to) in.push_back(f);
  }
  return in;
}

int64_t Nearest(const std::vector<int64_t>& onsets, int64_t frame) {
  int64_t best = INT64_MAX / 2;
  for (int64_t f : onsets) {
    if (std::llabs(f - frame) < std::llabs(best - frame)) best = f;
  }
  return best;
}

ClickSong Song(double bpm, int channel) {
  ClickSong s;
  s.bpm = bpm;
  s.channel = channel;
  return s;
}

struct Pair {
  ClickSong a = Song(120, 0);
  ClickSong b = Song(126, 1);
  PlaylistEntry ea, eb;
  Pair() {
    ea = MarkedEntry(a, "a.wav", 1, 40, kRate);
    eb = MarkedEntry(b, "b.wav", 2, 40, std::lround(kRate * a.bpm / b.bpm));
  }
};

std::vector<float> RenderPair(MixRig& rig, Pair& p) {
  rig.Add(p.a, "a.wav");
  rig.Add(p.b, "b.wav");
  Grids(&p.ea);
  Grids(&p.eb);
  rig.playlist().entries = {p.ea, p.eb};
  return rig.Render();
}

// Every click of the next song from the break start to the hand-over lies within 1 ms of a
// click of the current song, and the next song enters on the break start's frame.
void ExpectLocked(const std::vector<float>& mix, const PlaylistEntry& a, double section_seconds,
                  int expected_next_clicks) {
  const std::vector<int64_t> left = ClickOnsets(mix, 0);
  const std::vector<int64_t> right = ClickOnsets(mix, 1);
  const int64_t start = Frame(a.breakstart);
  const int64_t handover = Frame(a.breakstart + section_seconds + a.breakcontinue - 0.025);
  const std::vector<int64_t> overlap = Between(right, start - kOneMs, handover);
  ASSERT_EQ(static_cast<int>(overlap.size()), expected_next_clicks);
  EXPECT_LE(std::llabs(overlap.front() - start), 2);
  for (int64_t f : overlap) {
    EXPECT_LE(std::llabs(Nearest(left, f) - f), kOneMs) << "next song's click at frame " << f;
  }
  // The current song is gone from the hand-over on.
  EXPECT_TRUE(Between(left, handover + 1, handover + 10 * kRate).empty());
}

TEST(MixTransition, NextSongIsBeatLockedFromBreakStartToHandOver) {
  MixRig rig;
  Pair p;
  const std::vector<float> mix = RenderPair(rig, p);
  ExpectLocked(mix, p.ea, 16.0, 32);
  // B then plays on alone to its end at its playlist frequency, and the mix stops.
  const double b_rest = (p.b.Beat(p.b.beats + 1) - p.eb.introend) * kRate / p.eb.frequency;
  EXPECT_NEAR(static_cast<double>(mix.size() / 2) / kRate, p.ea.breakend + b_rest, 0.01);
  EXPECT_TRUE(rig.host().stopped());
}

TEST(MixTransition, LoopsStretchTheSectionsAndStayLocked) {
  struct Case {
    const char* name;
    int break_loop_beats, break_repeat, intro_loop_beats, intro_repeat;
  };
  for (const Case& c :
       {Case{"break loop played three times", 8, 2, 0, 0},
        Case{"break loop with repeat 0 plays straight through", 8, 0, 0, 0},
        Case{"intro loop of the next song", 0, 0, 4, 2}, Case{"both loops", 4, 3, 8, 1}}) {
    SCOPED_TRACE(c.name);
    MixRig rig;
    Pair p;
    // Both sections span 32 beats with their repeats: the loops sit at the section's end
    // (break) and start (intro), and the songs' later beats move up accordingly.
    const int break_physical = 32 - c.break_loop_beats * c.break_repeat;
    p.ea.breakend = static_cast<float>(p.a.Beat(40 + break_physical));
    if (c.break_loop_beats > 0) {
      p.ea.breakloopstart = static_cast<float>(p.a.Beat(40 + break_physical - c.break_loop_beats));
      p.ea.breakloopend = p.ea.breakend;
      p.ea.breaklooprepeat = c.break_repeat;
    }
    const int intro_physical = 32 - c.intro_loop_beats * c.intro_repeat;
    p.eb.introend = static_cast<float>(p.b.Beat(intro_physical));
    if (c.intro_loop_beats > 0) {
      p.eb.introloopstart = static_cast<float>(p.b.Beat(0));
      p.eb.introloopend = static_cast<float>(p.b.Beat(c.intro_loop_beats));
      p.eb.introlooprepeat = c.intro_repeat;
    }
    const std::vector<float> mix = RenderPair(rig, p);
    ExpectLocked(mix, p.ea, 16.0, 32);
    // The current song's clicks in the break: 32 beats whatever the loop.
    const std::vector<int64_t> left = ClickOnsets(mix, 0);
    EXPECT_EQ(
        Between(left, Frame(p.ea.breakstart) - 10, Frame(p.ea.breakstart + 16.0 - 0.025)).size(),
        32u);
  }
}

TEST(MixTransition, FirstSongPlaysItsIntroLoopStraightThrough) {
  MixRig rig;
  Pair p;
  p.ea.introloopstart = static_cast<float>(p.a.Beat(0));
  p.ea.introloopend = static_cast<float>(p.a.Beat(8));
  p.ea.introlooprepeat = 2;
  const std::vector<float> mix = RenderPair(rig, p);
  const std::vector<int64_t> right = ClickOnsets(mix, 1);
  ASSERT_FALSE(right.empty());
  EXPECT_LE(std::llabs(right.front() - Frame(p.ea.breakstart)), 2);
}

TEST(MixTransition, ShortenedSongJumpsItsSkipRegion) {
  MixRig rig;
  Pair p;
  p.ea.shortened = 1;
  p.ea.skipstart = static_cast<float>(p.a.Beat(33));
  p.ea.skipend = static_cast<float>(p.a.Beat(37));
  const std::vector<float> mix = RenderPair(rig, p);
  const std::vector<int64_t> right = ClickOnsets(mix, 1);
  ASSERT_FALSE(right.empty());
  // Four beats of 0.5 s fewer before the break.
  EXPECT_LE(std::llabs(right.front() - Frame(p.ea.breakstart - 2.0)), 2);
}

TEST(MixTransition, PrestartEntersEarlyAndRealignsAtTheBreak) {
  MixRig rig;
  Pair p;
  p.b.first_beat = 2.0;  // room before the intro for a one-second prestart
  p.eb = MarkedEntry(p.b, "b.wav", 2, 40, p.eb.frequency);
  p.eb.introprefix = 1.0f;
  const std::vector<float> mix = RenderPair(rig, p);
  const std::vector<int64_t> right = ClickOnsets(mix, 1);
  ASSERT_FALSE(right.empty());
  ExpectLocked(mix, p.ea, 16.0, 32);
}

TEST(MixTransition, MuteSilencesTheBreakEndAndHandOverWaitsForContinue) {
  MixRig rig;
  Pair p;
  p.ea.breakmute = 1.0f;      // the last two beats
  p.ea.breakcontinue = 2.0f;  // four beats past the break end
  const std::vector<float> mix = RenderPair(rig, p);
  const std::vector<int64_t> left = ClickOnsets(mix, 0);
  const int64_t start = Frame(p.ea.breakstart);
  EXPECT_EQ(Between(left, start - 10, Frame(p.ea.breakend - 1.0) - 10).size(), 30u);
  EXPECT_TRUE(Between(left, Frame(p.ea.breakend - 1.0) - 10, Frame(p.ea.breakend + 3)).empty());
  // Beyond the break end the next song still runs locked to the current song's rate; the
  // current one leaves 25 ms before its continue point.
  const std::vector<int64_t> right = ClickOnsets(mix, 1);
  EXPECT_EQ(Between(right, start - 10, Frame(p.ea.breakend + 2.0 - 0.025)).size(), 36u);
}

TEST(MixTransition, BeatFilterAndLevelsFollowThePreference) {
  struct Case {
    const char* preference;
    bool break_beats, intro_beats;
    bool a_filtered, b_filtered;
    double b_level;
  };
  for (const Case& c : {Case{"Both songs", true, true, true, true, 0.9},
                        Case{"Current song", true, true, true, false, 0.9},
                        Case{"Next song", true, true, false, true, 1.0},
                        Case{"None", true, true, false, false, 1.0},
                        Case{"Current song", false, true, false, false, 1.0}}) {
    SCOPED_TRACE(std::string(c.preference) + (c.break_beats ? "" : ", no break beats"));
    MixRig rig;
    rig.scheduler().SetBeatFilter(BeatFilterFromText(c.preference));
    Pair p;
    p.a.clicks = p.b.clicks = false;
    p.a.tone_hz = p.b.tone_hz = 80;
    p.ea.breakbeats = c.break_beats;
    p.eb.introbeats = c.intro_beats;
    const std::vector<float> mix = RenderPair(rig, p);
    const double full = 16000.0 / 32768.0 / std::sqrt(2.0);
    const double mid = p.ea.breakstart + 8.0;
    const double left = Rms(mix, 0, mid - 2, mid + 2) / full;
    const double right = Rms(mix, 1, mid - 2, mid + 2) / full;
    if (c.a_filtered) {
      EXPECT_LT(left, 0.2);
    } else {
      EXPECT_NEAR(left, 1.0, 0.02);
    }
    if (c.b_filtered) {
      EXPECT_LT(right, 0.2);
    } else {
      EXPECT_NEAR(right, c.b_level, 0.02);
    }
    // After the hand-over the next song plays unfiltered; the levels stack, so the break
    // start's level stays.
    EXPECT_NEAR(Rms(mix, 1, p.ea.breakend + 2, p.ea.breakend + 6) / full, c.b_level, 0.02);
  }
}

TEST(MixTransition, FadesRunOverTheSections) {
  MixRig rig;
  Pair p;
  p.a.clicks = p.b.clicks = false;
  p.a.tone_hz = p.b.tone_hz = 440;
  p.ea.breakfade = 1;
  p.eb.introfade = 1;
  const std::vector<float> mix = RenderPair(rig, p);
  const double full = 16000.0 / 32768.0 / std::sqrt(2.0);
  const double s = p.ea.breakstart;
  // Each ramp lasts its own section's length in the song's seconds.
  const double intro = p.eb.introend - p.eb.introstart;
  EXPECT_NEAR(Rms(mix, 0, s + 0.9, s + 1.1) / full, 1.0 - 1.0 / 16, 0.02);
  EXPECT_NEAR(Rms(mix, 0, s + 11.9, s + 12.1) / full, 0.25, 0.02);
  EXPECT_NEAR(Rms(mix, 1, s + 0.9, s + 1.1) / full, 1.0 / intro, 0.02);
  EXPECT_NEAR(Rms(mix, 1, s + 11.9, s + 12.1) / full, 12.0 / intro, 0.02);
}

TEST(MixTransition, LastSongEndsTheMix) {
  ClickSong a = Song(120, 0);
  a.tone_hz = 440;
  {
    SCOPED_TRACE("played to its end");
    MixRig rig;
    PlaylistEntry e = MarkedEntry(a, rig.Add(a, "a.wav"), 1, 40, kRate);
    Grids(&e);
    rig.playlist().entries = {e};
    const std::vector<float> mix = rig.Render();
    EXPECT_NEAR(static_cast<double>(mix.size() / 2) / kRate, a.Beat(a.beats + 1), 0.01);
    EXPECT_TRUE(rig.host().stopped());
  }
  {
    SCOPED_TRACE("shortened: fades over its break less a second, stops at the break end");
    MixRig rig;
    PlaylistEntry e = MarkedEntry(a, rig.Add(a, "a.wav"), 1, 40, kRate);
    e.shortened = 1;
    Grids(&e);
    rig.playlist().entries = {e};
    const std::vector<float> mix = rig.Render();
    EXPECT_NEAR(static_cast<double>(mix.size() / 2) / kRate, e.breakend, 0.01);
    const double full = 16000.0 / 32768.0 / std::sqrt(2.0);
    EXPECT_NEAR(Rms(mix, 0, e.breakstart + 7.4, e.breakstart + 7.6) / full, 0.5, 0.02);
    EXPECT_LT(Rms(mix, 0, e.breakend - 0.9, e.breakend), 1e-4);
    EXPECT_TRUE(rig.host().stopped());
  }
}

TEST(MixTransition, IrregularBeatsReLockTheNextSongAtEachBeat) {
  MixRig rig;
  Pair p;
  rig.Add(p.a, "a.wav");
  rig.Add(p.b, "b.wav");
  Grids(&p.ea);
  Grids(&p.eb);
  // The current song's marked beats: intervals of 0.494, 0.5 and 0.506 s in turn.
  std::vector<double> lines;
  QString list;
  double t = p.ea.breakstart;
  for (int k = 0; k < 32; ++k) {
    lines.push_back(t);
    list += QString::number(t, 'f', 4) + "\n";
    t += 0.5 + 0.006 * (k % 3 - 1);
  }
  p.ea.breakbeatlist = list;
  rig.playlist().entries = {p.ea, p.eb};
  const std::vector<float> mix = rig.Render();

  // Each beat k sets the next song's rate to in / ic_k of the current song's and arms the next
  // beat at break start + (k + 1) x ic_k; from that, where each of the next song's clicks lands.
  const double in = 60.0 / p.b.bpm;
  const double handover = p.ea.breakend - 0.025;
  double at = p.ea.breakstart, source = 0;  // output time, and the next song's intro time
  std::vector<double> expected;
  int next_click = 0;
  for (int k = 0; k <= 30 && at < handover; ++k) {
    const double ic = lines[k + 1] - lines[k];
    const double speed = in / ic;  // intro seconds per output second
    double until = k < 30 ? std::min(p.ea.breakstart + (k + 1) * ic, handover) : handover;
    if (until <= at) until = handover;  // a beat armed in the past never comes
    while (next_click * in < source + (until - at) * speed - 1e-9) {
      expected.push_back(at + (next_click * in - source) / speed);
      ++next_click;
    }
    source += (until - at) * speed;
    at = until;
  }
  const std::vector<int64_t> right =
      Between(ClickOnsets(mix, 1), Frame(p.ea.breakstart) - 10, Frame(handover));
  ASSERT_EQ(right.size(), expected.size());
  for (size_t j = 0; j < expected.size(); ++j) {
    EXPECT_LE(std::llabs(right[j] - Frame(expected[j])), kOneMs) << "click " << j;
  }
}

TEST(MixTransition, HandOverFallsAtBreakEndPlusContinueLessTwentyFiveMs) {
  MixRig rig;
  Pair p;
  p.a.clicks = false;
  p.a.tone_hz = 440;
  p.ea.breakcontinue = 1.0f;
  const std::vector<float> mix = RenderPair(rig, p);
  int64_t last = 0;
  for (int64_t i = 0; i < static_cast<int64_t>(mix.size() / 2); ++i) {
    if (mix[static_cast<size_t>(2 * i)] != 0.0f) last = i;
  }
  EXPECT_LE(std::llabs(last - Frame(p.ea.breakend + 1.0 - 0.025)), 2);
}

TEST(MixTransition, PrestartAvoidsTheSkippedRegion) {
  PlaylistEntry a, b;
  a.shortened = 1;
  a.skipstart = 40;
  a.skipend = 70;
  a.breakstart = 71.5f;
  b.introprefix = 2;
  EXPECT_FLOAT_EQ(MixScheduler::PrestartPosition(a, b, a.breakstart - b.introprefix), 39.5f);
  b.introprefix = 1;
  EXPECT_FLOAT_EQ(MixScheduler::PrestartPosition(a, b, a.breakstart - b.introprefix), 70.5f);
  a.shortened = 0;
  b.introprefix = 2;
  EXPECT_FLOAT_EQ(MixScheduler::PrestartPosition(a, b, a.breakstart - b.introprefix), 69.5f);
}

}  // namespace
}  // namespace tw::testing
