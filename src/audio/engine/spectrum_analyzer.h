#ifndef TUNEWRIGHT_AUDIO_ENGINE_SPECTRUM_ANALYZER_H_
#define TUNEWRIGHT_AUDIO_ENGINE_SPECTRUM_ANALYZER_H_

#include <array>
#include <mutex>

namespace tw::engine {

// A 2048-point real FFT with its plan made once, in advance (planning is slow and FFTW's planner
// is not thread-safe). Not for the mixing thread.
class SpectrumAnalyzer {
 public:
  static constexpr int kSize = 2048;
  static constexpr int kBins = kSize / 2;

  SpectrumAnalyzer();
  ~SpectrumAnalyzer();
  SpectrumAnalyzer(const SpectrumAnalyzer&) = delete;
  SpectrumAnalyzer& operator=(const SpectrumAnalyzer&) = delete;

  bool ok() const { return plan_ != nullptr; }
  // Hann-windowed magnitudes of `samples`, scaled so a full-scale sine reads about 1.
  bool Analyze(const float* samples, std::array<float, kBins>* magnitudes);

 private:
  std::mutex mutex_;
  float* input_ = nullptr;
  void* output_ = nullptr;
  void* plan_ = nullptr;
  std::array<float, kSize> window_{};
  float scale_ = 1.0f;
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_SPECTRUM_ANALYZER_H_
