#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "audio/engine/engine.h"
#include "engine/mixer_test_sources.h"

namespace tw::engine {
namespace {

using testing::MakeConstant;
using testing::MakeSine;
using testing::Rms;

struct Rig {
  Engine engine;
  Channel mixer = engine.CreateMixer(MixerKind::kDecoding);

  Channel Add(std::unique_ptr<Decoder> decoder) {
    const Channel s = engine.CreateStream(std::move(decoder), StreamKind::kDecode);
    engine.AddSource(mixer, s);
    return s;
  }
  std::vector<float> Render(int64_t frames) {
    std::vector<float> out(static_cast<size_t>(frames * 2));
    EXPECT_EQ(engine.RenderDecoding(mixer, out.data(), frames), frames);
    return out;
  }
};

TEST(VolumeEffects, StackedRampsMultiply) {
  Rig rig;
  const Channel s = rig.Add(MakeConstant(200000, 1.0f));
  // Start level -1 on a new effect: it starts at unity, here jumping straight to 0.5.
  const Effect half = rig.engine.AddVolumeEffect(s, {0.5f, -1.0f, 0.0});
  // A fade from 1 to 0 over 1 s on top of it.
  const Effect fade = rig.engine.AddVolumeEffect(s, {0.0f, 1.0f, 1.0});
  ASSERT_TRUE(half && fade);
  std::vector<float> out = rig.Render(22050);
  EXPECT_FLOAT_EQ(out[0], 0.5f);
  EXPECT_NEAR(out[2 * 22049], 0.5 * (1.0 - 22049.0 / 44100.0), 1e-5);

  // Start level -1 on an existing effect: the ramp starts where that effect is now (0.5).
  ASSERT_TRUE(rig.engine.SetVolumeEffect(half, {1.0f, -1.0f, 0.5}));
  out = rig.Render(44100);
  const double fade_at_0 = 1.0 - 22050.0 / 44100.0;
  EXPECT_NEAR(out[0], 0.5 * fade_at_0, 1e-5);
  EXPECT_NEAR(out[2 * 11025], (0.5 + 0.5 * 0.5) * (fade_at_0 - 11025.0 / 44100.0), 1e-5);
  EXPECT_FLOAT_EQ(out[2 * 44099], 0.0f);  // the fade has ended at 0: the product stays 0

  ASSERT_TRUE(rig.engine.RemoveEffect(fade));
  EXPECT_FALSE(rig.engine.RemoveEffect(fade));
  out = rig.Render(10);
  EXPECT_FLOAT_EQ(out[0], 1.0f);  // the first effect's ramp has ended at 1
  // Source and mixer volumes multiply with the effects.
  rig.engine.SetVolume(s, 0.5f);
  rig.engine.SetVolume(rig.mixer, 0.5f);
  out = rig.Render(10);
  EXPECT_FLOAT_EQ(out[0], 0.25f);
}

TEST(HighPass, CutsLowsPassesHighsAndCanBeRemoved) {
  struct Case {
    double hz;
    double min_db;
    double max_db;
  };
  for (const Case& c : {Case{50, -200, -20}, Case{3000, -1, 1}}) {
    Rig rig;
    const Channel s = rig.Add(MakeSine(44100 * 3, c.hz, 0.5f));
    const Effect filter = rig.engine.AddHighPass(s, {300.0, 0.7});
    ASSERT_TRUE(filter);
    const std::vector<float> filtered = rig.Render(44100);
    const double db = 20.0 * std::log10(Rms(filtered, 22050, 44100) / (0.5 / std::sqrt(2.0)));
    EXPECT_GT(db, c.min_db) << c.hz << " Hz";
    EXPECT_LT(db, c.max_db) << c.hz << " Hz";
    ASSERT_TRUE(rig.engine.RemoveEffect(filter));
    const std::vector<float> plain = rig.Render(100);
    for (int64_t i = 0; i < 100; ++i) {
      const float expected =
          0.5f *
          static_cast<float>(std::sin(2.0 * std::numbers::pi * c.hz * (44100 + i) / 44100.0));
      ASSERT_EQ(plain[2 * i], expected);
    }
  }
}

double Peak(const std::vector<float>& stereo, int64_t from, int64_t to) {
  double peak = 0.0;
  for (int64_t i = 2 * from; i < 2 * to; ++i) peak = std::max(peak, double(std::abs(stereo[i])));
  return peak;
}

TEST(DynamicAmp, SteersPeaksToTheTargetAndLeavesQuietInputAlone) {
  struct Case {
    float amplitude;
    double low;
    double high;
  };
  // Loud input comes down to the target at once; medium input is raised to it; input below
  // the quiet level keeps the starting gain of 1.
  for (const Case& c :
       {Case{0.9f, 0.40, 0.4401}, Case{0.2f, 0.40, 0.4401}, Case{0.01f, 0.0099, 0.0101}}) {
    Rig rig;
    rig.Add(MakeSine(44100 * 4, 440, c.amplitude));
    const Effect amp = rig.engine.AddDynamicAmp(rig.mixer, DynamicAmpParams{});
    ASSERT_TRUE(amp);
    const std::vector<float> out = rig.Render(44100 * 3);
    EXPECT_LE(Peak(out, 0, 44100 * 3), std::max(0.4401, c.high)) << c.amplitude;
    const double settled = Peak(out, 44100 * 2, 44100 * 3);
    EXPECT_GE(settled, c.low) << c.amplitude;
    EXPECT_LE(settled, c.high) << c.amplitude;
    ASSERT_TRUE(rig.engine.RemoveEffect(amp));
    EXPECT_NEAR(Peak(rig.Render(4410), 0, 4410), c.amplitude, 1e-3);
  }
}

}  // namespace
}  // namespace tw::engine
