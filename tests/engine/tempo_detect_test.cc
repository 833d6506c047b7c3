// Tempo of synthetic loops whose beats are known exactly.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "audio/engine/decoder.h"
#include "audio/engine/tempo.h"
#include "engine/decode_fixtures.h"

namespace tw::engine {
namespace {

using test::DrumStyle;
using test::kRate;

std::vector<float> Mono(const std::vector<int16_t>& stereo) {
  std::vector<float> mono(stereo.size() / 2);
  for (size_t i = 0; i < mono.size(); ++i) mono[i] = stereo[2 * i] / 32768.0f;
  return mono;
}

struct TempoCase {
  double bpm;
  DrumStyle style;
};

void PrintTo(const TempoCase& c, std::ostream* os) {
  *os << c.bpm << (c.style == DrumStyle::kFullKit ? " full kit" : " kick and hats");
}

class TempoDetectTest : public ::testing::TestWithParam<TempoCase> {};

TEST_P(TempoDetectTest, FindsTheLoopsTempoWithinHalfABpm) {
  const std::vector<float> mono =
      Mono(test::MakeDrumTrack(GetParam().bpm, 20.0, 3, GetParam().style));
  EXPECT_NEAR(EstimateTempoBpm(mono.data(), mono.size(), kRate), GetParam().bpm, 0.5);
}

// 174 with off-beat hats alone is the loop on which the beat tracker settles on 116, two
// thirds of the beat: the guard has to bring it back.
INSTANTIATE_TEST_SUITE_P(Loops, TempoDetectTest,
                         ::testing::Values(TempoCase{93.0, DrumStyle::kFullKit},
                                           TempoCase{126.0, DrumStyle::kKickAndHats},
                                           TempoCase{174.0, DrumStyle::kKickAndHats}));

TEST(TempoDetectRangeTest, MeasuresOnlyTheRequestedRangeOfADecoder) {
  // 20 s at 100 BPM, then 20 s at 130: each half must give its own tempo.
  std::vector<int16_t> audio = test::MakeDrumTrack(100.0, 20.0, 1);
  const std::vector<int16_t> faster = test::MakeDrumTrack(130.0, 20.0, 2);
  audio.insert(audio.end(), faster.begin(), faster.end());
  test::TempDir dir;
  ASSERT_TRUE(test::WriteWav(dir.File("two_tempos.wav"), audio, 2));
  auto decoder = OpenDecoder(dir.File("two_tempos.wav"));
  ASSERT_NE(decoder, nullptr);
  EXPECT_NEAR(EstimateTempoBpm(*decoder, 0, 20 * kRate), 100.0, 0.5);
  EXPECT_NEAR(EstimateTempoBpm(*decoder, 20 * kRate, 20 * kRate), 130.0, 0.5);
  // A range running past the end is cut to the length.
  EXPECT_NEAR(EstimateTempoBpm(*decoder, 20 * kRate, 60 * kRate), 130.0, 0.5);
}

TEST(TempoDetectRangeTest, NoBeatOrTooShortRangesGiveZero) {
  const std::vector<float> silence(10 * kRate, 0.0f);
  EXPECT_EQ(EstimateTempoBpm(silence.data(), silence.size(), kRate), 0.0);
  std::vector<float> noise(10 * kRate);
  std::mt19937 random(5);
  std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
  for (float& s : noise) s = uniform(random);
  EXPECT_EQ(EstimateTempoBpm(noise.data(), noise.size(), kRate), 0.0);
  const std::vector<float> loop = Mono(test::MakeDrumTrack(120.0, 10.0, 1));
  EXPECT_EQ(EstimateTempoBpm(loop.data(), kRate / 10, kRate), 0.0);
  EXPECT_EQ(EstimateTempoBpm(loop.data(), 0, kRate), 0.0);
}

}  // namespace
}  // namespace tw::engine
