#include <gtest/gtest.h>

#include <vector>

#include "audio/engine/engine.h"
#include "engine/mixer_test_sources.h"

namespace tw::engine {
namespace {

using testing::MakeConstant;

TEST(Positions, ConversionsUseFourBytesPerFrameAndTheStreamsOwnRate) {
  EXPECT_EQ(ToBytes(Frames(44100)).value, 176400);
  EXPECT_EQ(ToFrames(Bytes(7)).value, 1);                   // inside a frame counts as its start
  EXPECT_EQ(ToFrames(Seconds(0.48f), 44100).value, 21168);  // a float marker, not truncated
  Engine engine;
  const Channel at48k = engine.CreateStream(testing::MakeSource(
                                                48000, [](int64_t) { return 0.0f; }, 48000),
                                            StreamKind::kDecode);
  EXPECT_EQ(engine.SampleRate(at48k), 48000);
  EXPECT_EQ(engine.FileChannels(at48k), 2);
  EXPECT_EQ(engine.SecondsToBytes(at48k, Seconds(0.5)).value, 24000 * 4);
  EXPECT_DOUBLE_EQ(engine.BytesToSeconds(at48k, Bytes(96000)).value, 0.5);
  EXPECT_EQ(engine.Rate(at48k), 48000.0);  // own speed
  EXPECT_EQ(engine.LengthBytes(at48k).value, 48000 * 4);
}

TEST(Positions, SetPositionIsClampedAndReadBack) {
  Engine engine;
  const Channel s = engine.CreateStream(MakeConstant(1000, 0.0f), StreamKind::kDecode);
  EXPECT_TRUE(engine.SetPosition(s, Bytes(400)));
  EXPECT_EQ(engine.Position(s).value, 100);
  EXPECT_TRUE(engine.SetPosition(s, Frames(5000)));
  EXPECT_EQ(engine.Position(s).value, 1000);
  EXPECT_TRUE(engine.SetPosition(s, Frames(-3)));
  EXPECT_EQ(engine.Position(s).value, 0);
}

// After a long stretch at a rate the position is exactly the frames consumed, because the
// read position is kept in exact integer steps.
TEST(Positions, ExactAfterLongVarispeedPlayback) {
  struct Case {
    double rate;
    int64_t output_frames;
    int64_t expected;
  };
  const Case cases[] = {
      {43000, 60 * 44100, 60 * 43000},
      {46000, 20 * 44100, 20 * 46000},
      {44100.5, 44100 * 20, 882010},    // 20 s at half a hertz fast: 10 frames ahead
      {41234.567, 44100 * 10, 412345},  // floor(441000 * 41234567 / 44100000)
  };
  for (const Case& c : cases) {
    Engine engine;
    const Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
    const Channel s = engine.CreateStream(MakeConstant(70 * 44100, 0.1f), StreamKind::kDecode);
    engine.SetRate(s, c.rate);
    engine.AddSource(mixer, s);
    std::vector<float> block(4096 * 2);
    for (int64_t done = 0; done < c.output_frames;) {
      const int64_t n = std::min<int64_t>(4096 - 7, c.output_frames - done);
      ASSERT_EQ(engine.RenderDecoding(mixer, block.data(), n), n);
      done += n;
    }
    EXPECT_EQ(engine.Position(s).value, c.expected) << "rate " << c.rate;
    EXPECT_EQ(engine.Position(mixer).value, c.output_frames);
  }
}

TEST(Positions, OwnSpeedIsBitExactAndVarispeedInterpolatesASineCleanly) {
  Engine engine;
  const Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
  const Channel s = engine.CreateStream(testing::MakeSine(50000, 1000, 0.5f), StreamKind::kDecode);
  engine.AddSource(mixer, s);
  std::vector<float> out(20000 * 2);
  engine.RenderDecoding(mixer, out.data(), 10000);
  for (int64_t i = 0; i < 10000; ++i) {
    ASSERT_EQ(out[2 * i],
              0.5f * static_cast<float>(std::sin(2.0 * std::numbers::pi * 1000.0 * i / 44100.0)));
  }
  // At 43000 Hz the output follows the sine at the exact fractional read positions.
  engine.SetRate(s, 43000);
  engine.RenderDecoding(mixer, out.data(), 20000);
  double error = 0.0;
  double signal = 0.0;
  for (int64_t n = 0; n < 20000; ++n) {
    const double p = 10000.0 + n * 43000.0 / 44100.0;
    const double expected = 0.5 * std::sin(2.0 * std::numbers::pi * 1000.0 * p / 44100.0);
    error += (out[2 * n] - expected) * (out[2 * n] - expected);
    signal += expected * expected;
  }
  EXPECT_GT(10.0 * std::log10(signal / error), 85.0);
}

}  // namespace
}  // namespace tw::engine
