#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

#include "audio/engine/engine.h"
#include "engine/mixer_test_sources.h"

namespace tw::engine {
namespace {

using testing::MakeConstant;

void Count(const SyncEvent& e) { ++*static_cast<int*>(e.context); }

TEST(Lifecycle, SourcesAreFreedAtTheirEndAfterTheirEndSyncs) {
  Engine engine;
  const Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
  const Channel s = engine.CreateStream(MakeConstant(1000, 0.5f), StreamKind::kDecode);
  ASSERT_TRUE(engine.AddSource(mixer, s));
  EXPECT_FALSE(engine.AddSource(mixer, s));  // already a source
  EXPECT_EQ(engine.State(s), PlayState::kPlaying);
  int ends = 0;
  ASSERT_TRUE(engine.SetEndSync(s, SyncMode::kOnce, &Count, 0, &ends));
  std::vector<float> out(2000 * 2);
  EXPECT_EQ(engine.RenderDecoding(mixer, out.data(), 2000), 2000);  // the mixer plays on
  EXPECT_EQ(out[2 * 999], 0.5f);
  EXPECT_EQ(out[2 * 1000], 0.0f);
  EXPECT_EQ(ends, 1);
  // The handle is stale now: every call fails without effect.
  EXPECT_EQ(engine.State(s), PlayState::kStopped);
  EXPECT_FALSE(engine.SetPosition(s, Frames(0)));
  EXPECT_FALSE(engine.SetRate(s, 44100));
  EXPECT_FALSE(engine.AddVolumeEffect(s, {}));
  EXPECT_FALSE(engine.SetPositionSync(s, Frames(1), SyncMode::kOnce, &Count, 0));
  EXPECT_FALSE(engine.Free(s));
  EXPECT_EQ(engine.Length(s).value, 0);
}

TEST(Lifecycle, NullAndStaleHandlesAreHarmless) {
  Engine engine;
  for (const Channel bad : {Channel{}, Channel{0x123456789}}) {
    EXPECT_FALSE(engine.Play(bad, true));
    EXPECT_FALSE(engine.SetVolume(bad, 1.0f));
    EXPECT_FALSE(engine.AddSource(bad, bad));
    EXPECT_FALSE(engine.RemoveEffect(Effect{bad, 1}));
    EXPECT_FALSE(engine.RemoveSync(Sync{bad, 1}));
    EXPECT_EQ(engine.Position(bad).value, 0);
    float out[8];
    EXPECT_EQ(engine.RenderDecoding(bad, out, 4), 0);
    EXPECT_EQ(engine.ReadFrames(bad, out, 4), 0);
  }
  EXPECT_FALSE(engine.CreateStream("/nonexistent/file.mp3", StreamKind::kDecode));
  EXPECT_FALSE(engine.CreateStream(std::unique_ptr<Decoder>(), StreamKind::kDecode));
  const Channel mixer = engine.CreateMixer(MixerKind::kPlaying);
  EXPECT_FALSE(engine.SetPosition(mixer, Frames(10)));  // a mixer resets to 0 only
  EXPECT_FALSE(engine.SetVolume(mixer, -1.0f));
  EXPECT_FALSE(engine.SetRate(mixer, 44100));
}

TEST(Lifecycle, RemovingAndFreeingReleaseSources) {
  Engine engine;
  const Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
  const Channel a = engine.CreateStream(MakeConstant(5000, 0.5f), StreamKind::kDecode);
  const Channel b = engine.CreateStream(MakeConstant(5000, 0.25f), StreamKind::kDecode);
  engine.AddSource(mixer, a);
  engine.AddSource(mixer, b);
  ASSERT_TRUE(engine.RemoveSource(mixer, a));
  EXPECT_EQ(engine.State(a), PlayState::kStopped);
  EXPECT_FALSE(engine.SetPosition(a, Frames(0)));  // freed by its removal
  std::vector<float> out(100 * 2);
  engine.RenderDecoding(mixer, out.data(), 100);
  EXPECT_EQ(out[0], 0.25f);
  ASSERT_TRUE(engine.Free(mixer));
  EXPECT_FALSE(engine.SetPosition(b, Frames(0)));
  EXPECT_EQ(engine.RenderDecoding(mixer, out.data(), 100), 0);
}

TEST(Lifecycle, TransportStatesAndMixerPosition) {
  Engine engine;
  ASSERT_TRUE(engine.Start(OutputChoice::kNone).ok());
  const Channel mixer = engine.CreateMixer(MixerKind::kPlaying);
  const Channel s = engine.CreateStream(MakeConstant(100000, 0.5f), StreamKind::kDecode);
  engine.AddSource(mixer, s);
  std::vector<float> out(1000 * 2);
  EXPECT_EQ(engine.State(mixer), PlayState::kStopped);
  engine.PullOutput(out.data(), 1000);
  EXPECT_EQ(out[0], 0.0f);  // a stopped mixer is silent and holds its sources
  EXPECT_EQ(engine.Position(s).value, 0);

  ASSERT_TRUE(engine.Play(mixer, false));
  engine.PullOutput(out.data(), 1000);
  EXPECT_EQ(out[0], 0.5f);
  EXPECT_EQ(engine.Position(mixer).value, 1000);
  ASSERT_TRUE(engine.Pause(mixer));
  EXPECT_EQ(engine.State(mixer), PlayState::kPaused);
  engine.PullOutput(out.data(), 1000);
  EXPECT_EQ(engine.Position(s).value, 1000);
  ASSERT_TRUE(engine.Play(mixer, false));
  engine.PullOutput(out.data(), 500);
  EXPECT_EQ(engine.Position(mixer).value, 1500);
  ASSERT_TRUE(engine.Play(mixer, true));  // restart: the mixer counts from 0 again
  EXPECT_EQ(engine.Position(mixer).value, 0);
  ASSERT_TRUE(engine.Stop(mixer));
  EXPECT_EQ(engine.State(mixer), PlayState::kStopped);
  EXPECT_TRUE(engine.SetPosition(mixer, Frames(0)));
}

TEST(Lifecycle, TopLevelChannelsAreSummed) {
  Engine engine;
  ASSERT_TRUE(engine.Start(OutputChoice::kNone).ok());
  const Channel main = engine.CreateMixer(MixerKind::kPlaying);
  const Channel test = engine.CreateMixer(MixerKind::kPlaying);
  const Channel preview = engine.CreateStream(MakeConstant(1000, 0.125f), StreamKind::kPlayable);
  engine.AddSource(main, engine.CreateStream(MakeConstant(1000, 0.5f), StreamKind::kDecode));
  engine.AddSource(test, engine.CreateStream(MakeConstant(1000, 0.25f), StreamKind::kDecode));
  EXPECT_FALSE(engine.AddSource(main, preview));  // a playable stream sounds by itself
  engine.Play(main, true);
  engine.Play(test, true);
  engine.Play(preview, true);
  std::array<float, 200> out;
  engine.PullOutput(out.data(), 100);
  EXPECT_EQ(out[0], 0.875f);
}

void StopMixer(const SyncEvent& e) { e.engine->Stop(*static_cast<Channel*>(e.context)); }

TEST(Lifecycle, DecodingMixerStoppedInASyncEndsTheRender) {
  Engine engine;
  Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
  const Channel s = engine.CreateStream(MakeConstant(10000, 0.5f), StreamKind::kDecode);
  engine.AddSource(mixer, s);
  engine.SetPositionSync(s, Frames(300), SyncMode::kOnce, &StopMixer, 0, &mixer);
  std::vector<float> out(1000 * 2);
  EXPECT_EQ(engine.RenderDecoding(mixer, out.data(), 1000), 300);
  EXPECT_EQ(engine.State(mixer), PlayState::kStopped);
  EXPECT_EQ(engine.RenderDecoding(mixer, out.data(), 1000), 0);
}

// With an output thread running, changes from this thread are queued; what they set reads back
// at once, and they apply in order before the next render.
TEST(Lifecycle, QueuedChangesReadBackAndApplyInOrder) {
  Engine engine;
  ASSERT_TRUE(engine.Start(OutputChoice::kNull).ok());
  const Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
  const Channel s = engine.CreateStream(
      testing::MakeSource(50000, [](int64_t i) { return static_cast<float>(i) / 65536.0f; }),
      StreamKind::kDecode);
  ASSERT_TRUE(engine.AddSource(mixer, s));
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(engine.SetPosition(s, Frames(i * 10)));
  EXPECT_EQ(engine.Position(s).value, 990);
  ASSERT_TRUE(engine.SetRate(s, 22050));
  EXPECT_EQ(engine.Rate(s), 22050);
  std::vector<float> out(10 * 2);
  ASSERT_EQ(engine.RenderDecoding(mixer, out.data(), 10), 10);
  EXPECT_FLOAT_EQ(out[0], 990.0f / 65536.0f);
  EXPECT_EQ(engine.Position(s).value, 995);
  engine.StopOutput();
}

TEST(Lifecycle, DirectReadsOfADecodeStream) {
  Engine engine;
  const Channel s =
      engine.CreateStream(testing::MakeSource(3000, [](int64_t i) { return i % 2 ? 0.5f : -1.5f; }),
                          StreamKind::kDecode);
  engine.SetPosition(s, Frames(1000));
  std::vector<int16_t> pcm(4000 * 2);
  EXPECT_EQ(engine.ReadFrames16(s, pcm.data(), 4000), 2000);
  EXPECT_EQ(pcm[0], -32767);  // clipped
  EXPECT_EQ(pcm[2], 16384);
  EXPECT_EQ(engine.Position(s).value, 3000);
}

TEST(Spectrum, ShowsASinesBinOfWhatTheMixerPlayed) {
  Engine engine;
  ASSERT_TRUE(engine.Start(OutputChoice::kNone).ok());
  const Channel mixer = engine.CreateMixer(MixerKind::kPlaying);
  std::array<float, 1024> bins{};
  EXPECT_FALSE(engine.Spectrum(mixer, &bins));  // nothing played yet
  // Bin 100 of a 2048-point FFT at 44100 Hz.
  const double hz = 100.0 * 44100.0 / 2048.0;
  engine.AddSource(mixer,
                   engine.CreateStream(testing::MakeSine(44100, hz, 1.0f), StreamKind::kDecode));
  engine.Play(mixer, true);
  std::vector<float> out(4096 * 2);
  engine.PullOutput(out.data(), 4096);
  ASSERT_TRUE(engine.Spectrum(mixer, &bins));
  EXPECT_NEAR(bins[100], 1.0f, 0.05f);
  EXPECT_LT(bins[300], 0.01f);
}

}  // namespace
}  // namespace tw::engine

namespace tw::engine {
namespace {

void RetuneOther(const SyncEvent& e) {
  e.engine->SetRate(*static_cast<Channel*>(e.context), 44100.0 + static_cast<double>(e.user));
}

// Main-thread and worker calls racing the output thread: meant for ./tw test-tsan. Bounded by
// the work done, not by time.
TEST(Concurrency, CallsFromOtherThreadsWhileTheOutputPlays) {
  Engine engine;
  ASSERT_TRUE(engine.Start(OutputChoice::kNull).ok());
  const Channel mixer = engine.CreateMixer(MixerKind::kPlaying);
  Channel a = engine.CreateStream(testing::MakeSine(44100 * 60, 220, 0.3f), StreamKind::kDecode);
  Channel b = engine.CreateStream(testing::MakeSine(44100 * 60, 330, 0.3f), StreamKind::kDecode);
  engine.AddSource(mixer, a);
  engine.AddSource(mixer, b);
  const Effect level = engine.AddVolumeEffect(b, {0.8f, -1.0f, 0.0});
  engine.Play(mixer, true);

  std::thread worker([&engine] {
    for (int i = 0; i < 200; ++i) {
      const Channel preview =
          engine.CreateStream(testing::MakeConstant(2000, 0.01f), StreamKind::kPlayable);
      engine.Play(preview, true);
      engine.Position(preview);
      engine.Free(preview);
    }
  });
  std::array<float, 1024> bins{};
  for (int i = 0; engine.Position(mixer).value < 44100 / 4 && i < 200000; ++i) {
    engine.SetRate(a, 43000.0 + i % 2000);
    engine.SetVolumeEffect(level, {0.5f + 0.0001f * (i % 1000), -1.0f, 0.01});
    const Sync sync = engine.SetPositionSync(a, Frames(engine.Position(a).value + 100),
                                             SyncMode::kOnce, &RetuneOther, i % 500, &b);
    if (i % 3 == 0) engine.RemoveSync(sync);
    engine.Spectrum(mixer, &bins);
    engine.State(b);
  }
  worker.join();
  EXPECT_GE(engine.Position(mixer).value, 44100 / 4);
  EXPECT_EQ(engine.State(a), PlayState::kPlaying);
  engine.StopOutput();
}

}  // namespace
}  // namespace tw::engine
