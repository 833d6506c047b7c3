#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/engine/engine.h"
#include "engine/mixer_test_sources.h"

namespace tw::engine {
namespace {

using testing::MakeConstant;
using testing::MakeSource;

// Silence up to frame 60000, then 0.5: a seek from the silent part into the loud part shows as
// a step at exactly the output frame where the sync fired.
constexpr int64_t kLoudFrom = 60000;
constexpr int64_t kSyncFrame = 20000;
constexpr int64_t kSeekTarget = 70000;

std::unique_ptr<Decoder> StepSource() {
  return MakeSource(100000, [](int64_t i) { return i >= kLoudFrom ? 0.5f : 0.0f; });
}

void SeekToUser(const SyncEvent& e) { e.engine->SetPosition(e.channel, Bytes(e.user)); }

// The first output frame read at or after source frame `frame` when playing from 0 at `rate`.
int64_t OutputFrameOf(int64_t frame, double rate) {
  const int64_t step = std::llround(rate * 1000);
  return (frame * 44100 * 1000 + step - 1) / step;
}

std::vector<float> Render(Engine& engine, Channel mixer, int64_t frames, int64_t block) {
  std::vector<float> out(static_cast<size_t>(frames * 2));
  for (int64_t done = 0; done < frames;) {
    const int64_t n = std::min(block, frames - done);
    EXPECT_EQ(engine.RenderDecoding(mixer, out.data() + 2 * done, n), n);
    done += n;
  }
  return out;
}

struct SyncCase {
  double rate;
  int64_t block;
};

class PositionSyncTest : public ::testing::TestWithParam<SyncCase> {};

TEST_P(PositionSyncTest, SeekInSyncLandsAtTheExactOutputFrame) {
  const SyncCase param = GetParam();
  Engine engine;
  const Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
  const Channel source = engine.CreateStream(StepSource(), StreamKind::kDecode);
  ASSERT_TRUE(engine.SetRate(source, param.rate));
  ASSERT_TRUE(engine.AddSource(mixer, source));
  ASSERT_TRUE(engine.SetPositionSync(source, Frames(kSyncFrame), SyncMode::kOnce, &SeekToUser,
                                     ToBytes(Frames(kSeekTarget)).value));

  const int64_t expected = OutputFrameOf(kSyncFrame, param.rate);
  const std::vector<float> out = Render(engine, mixer, expected + 2000, param.block);
  for (int64_t i = 0; i < expected; ++i) ASSERT_EQ(out[2 * i], 0.0f) << "frame " << i;
  for (int64_t i = expected; i < expected + 2000; ++i) {
    ASSERT_NEAR(out[2 * i], 0.5f, 1e-5f) << "frame " << i;
  }
  // After the seek the source reads on from the target at its rate.
  EXPECT_EQ(engine.Position(source).value,
            kSeekTarget + (2000 * std::llround(param.rate * 1000)) / (44100 * 1000));
}

INSTANTIATE_TEST_SUITE_P(RatesAndBlocks, PositionSyncTest,
                         ::testing::Values(SyncCase{44100, 1}, SyncCase{44100, 441},
                                           SyncCase{42000, 1}, SyncCase{42000, 64},
                                           SyncCase{42000, 4096}, SyncCase{46000, 1},
                                           SyncCase{46000, 441}, SyncCase{46000, 4096},
                                           SyncCase{43567.25, 64}),
                         [](const ::testing::TestParamInfo<SyncCase>& info) {
                           return "Rate" + std::to_string(std::llround(info.param.rate)) + "Block" +
                                  std::to_string(info.param.block);
                         });

struct Pair {
  Channel mixer;
  Channel other;
};

void AddOtherSource(const SyncEvent& e) {
  auto* pair = static_cast<Pair*>(e.context);
  e.engine->SetPosition(pair->other, Frames(0));
  e.engine->SetRate(pair->other, 44100);
  e.engine->AddSource(pair->mixer, pair->other);
}

TEST(SyncCallbacks, SourceAddedInASyncSoundsFromThatFrame) {
  Engine engine;
  const Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
  const Channel a = engine.CreateStream(MakeConstant(50000, 0.0f), StreamKind::kDecode);
  const Channel b = engine.CreateStream(MakeConstant(50000, 0.25f), StreamKind::kDecode);
  engine.SetRate(a, 46000);
  engine.SetRate(b, 40000);  // the sync sets it back to its own speed
  engine.AddSource(mixer, a);
  Pair pair{mixer, b};
  engine.SetPositionSync(a, Frames(10000), SyncMode::kOnce, &AddOtherSource, 0, &pair);

  const int64_t expected = OutputFrameOf(10000, 46000);
  const std::vector<float> out = Render(engine, mixer, expected + 100, 333);
  EXPECT_EQ(out[2 * (expected - 1)], 0.0f);
  EXPECT_EQ(out[2 * expected], 0.25f);
  EXPECT_EQ(engine.Position(b).value, 100);
  EXPECT_EQ(engine.Rate(b), 44100);
}

struct LoopState {
  int repeats = 0;
  int passes = 0;
  int fired = 0;
};

// Like a section loop: at its end jump back to its start while passes remain.
void LoopBack(const SyncEvent& e) {
  auto* loop = static_cast<LoopState*>(e.context);
  ++loop->fired;
  if (loop->passes < loop->repeats) {
    e.engine->SetPosition(e.channel, Frames(e.user));
    ++loop->passes;
  }
}

TEST(SyncCallbacks, PermanentLoopSyncRepeatsOnceSyncDoesNot) {
  struct Case {
    SyncMode mode;
    int repeats;
    int64_t expected_position;  // after rendering 10000 frames
    int expected_fired;
  };
  // Loop [1000, 3000): with 2 repeats the loop plays three times (4000 extra frames).
  for (const Case& c :
       {Case{SyncMode::kPermanent, 2, 10000 - 4000, 3}, Case{SyncMode::kPermanent, 0, 10000, 1},
        Case{SyncMode::kOnce, 2, 10000 - 2000, 1}}) {
    Engine engine;
    const Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
    const Channel s = engine.CreateStream(MakeConstant(20000, 0.1f), StreamKind::kDecode);
    engine.AddSource(mixer, s);
    LoopState loop{c.repeats, 0, 0};
    engine.SetPositionSync(s, Frames(3000), c.mode, &LoopBack, 1000, &loop);
    Render(engine, mixer, 10000, 700);
    EXPECT_EQ(engine.Position(s).value, c.expected_position) << "repeats " << c.repeats;
    EXPECT_EQ(loop.fired, c.expected_fired) << "repeats " << c.repeats;
  }
}

void Count(const SyncEvent& e) { ++*static_cast<int*>(e.context); }

TEST(SyncCallbacks, RemovedSyncDoesNotFireAndSyncsFireInArmingOrder) {
  Engine engine;
  const Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
  const Channel s = engine.CreateStream(MakeConstant(20000, 0.1f), StreamKind::kDecode);
  engine.AddSource(mixer, s);
  int removed_count = 0;
  const Sync removed =
      engine.SetPositionSync(s, Frames(500), SyncMode::kPermanent, &Count, 0, &removed_count);
  ASSERT_TRUE(engine.RemoveSync(removed));
  EXPECT_FALSE(engine.RemoveSync(removed));

  static std::vector<int64_t> order;
  order.clear();
  auto record = [](const SyncEvent& e) { order.push_back(e.user); };
  engine.SetPositionSync(s, Frames(800), SyncMode::kOnce, record, 2);
  engine.SetPositionSync(s, Frames(700), SyncMode::kOnce, record, 1);
  engine.SetPositionSync(s, Frames(800), SyncMode::kOnce, record, 3);
  Render(engine, mixer, 1000, 1000);
  EXPECT_EQ(removed_count, 0);
  EXPECT_EQ(order, (std::vector<int64_t>{1, 2, 3}));
}

TEST(SyncCallbacks, PlayableStreamFiresSyncsAndStopsAtItsEnd) {
  Engine engine;
  ASSERT_TRUE(engine.Start(OutputChoice::kNone).ok());
  const Channel preview = engine.CreateStream(MakeConstant(3000, 0.5f), StreamKind::kPlayable);
  int skips = 0;
  int ends = 0;
  auto skip = [](const SyncEvent& e) {
    ++*static_cast<int*>(e.context);
    e.engine->SetPosition(e.channel, Frames(e.user));
  };
  engine.SetPositionSync(preview, Frames(1000), SyncMode::kPermanent, skip, 2000, &skips);
  engine.SetEndSync(preview, SyncMode::kOnce, &Count, 0, &ends);
  ASSERT_TRUE(engine.Play(preview, false));
  EXPECT_EQ(engine.State(preview), PlayState::kPlaying);

  std::vector<float> out(4096 * 2);
  engine.PullOutput(out.data(), 4096);
  // 1000 frames, the skip, 1000 frames to the end, then silence.
  EXPECT_EQ(out[2 * 999], 0.5f);
  EXPECT_EQ(out[2 * 1999], 0.5f);
  EXPECT_EQ(out[2 * 2000], 0.0f);
  EXPECT_EQ(skips, 1);
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(engine.State(preview), PlayState::kStopped);
  EXPECT_EQ(engine.Position(preview).value, 3000);
}

}  // namespace
}  // namespace tw::engine
