// Quality and speed of the engine's varispeed interpolation, measured through a decoding mixer.
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "audio/engine/engine.h"
#include "engine/mixer_test_sources.h"
#include "mixer_bench_sources.h"

int main() {
  using namespace tw::engine;
  constexpr double kRate = 43000;
  for (double hz : {1000.0, 5000.0, 10000.0, 15000.0}) {
    Engine engine;
    const Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
    const Channel s =
        engine.CreateStream(testing::MakeSine(44100 * 3, hz, 0.5f), StreamKind::kDecode);
    engine.SetRate(s, kRate);
    engine.AddSource(mixer, s);
    std::vector<float> out(44100 * 2);
    engine.RenderDecoding(mixer, out.data(), 44100);
    double signal = 0.0;
    double error = 0.0;
    for (int64_t n = 100; n < 44100; ++n) {
      const double p = n * kRate / 44100.0;
      const double expected = 0.5 * std::sin(2.0 * std::numbers::pi * hz * p / 44100.0);
      signal += expected * expected;
      error += (out[2 * n] - expected) * (out[2 * n] - expected);
    }
    std::printf("resampler: %5.0f Hz sine at %.0f Hz playback: SNR %.1f dB\n", hz, kRate,
                10.0 * std::log10(signal / error));
  }
  Engine engine;
  const Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
  const int64_t frames = 44100 * 600;
  const Channel s = engine.CreateStream(
      std::make_unique<tw::bench::LoopedPcmDecoder>(frames * 2, 124.0, 1), StreamKind::kDecode);
  engine.SetRate(s, kRate);
  engine.AddSource(mixer, s);
  std::vector<float> block(4096 * 2);
  const auto start = std::chrono::steady_clock::now();
  for (int64_t done = 0; done < frames; done += 4096) {
    engine.RenderDecoding(mixer, block.data(), 4096);
  }
  const double seconds = tw::bench::SecondsSince(start);
  std::printf("resampler: one stereo source at %.0f Hz renders %.0fx real time\n", kRate,
              static_cast<double>(frames) / 44100.0 / seconds);
  return 0;
}
