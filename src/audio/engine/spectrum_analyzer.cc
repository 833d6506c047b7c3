#include "audio/engine/spectrum_analyzer.h"

#include <fftw3.h>

#include <cmath>
#include <numbers>

namespace tw::engine {
namespace {

std::mutex& PlannerMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

SpectrumAnalyzer::SpectrumAnalyzer() {
  double sum = 0.0;
  for (int i = 0; i < kSize; ++i) {
    window_[i] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / kSize));
    sum += window_[i];
  }
  scale_ = static_cast<float>(2.0 / sum);
  std::lock_guard<std::mutex> lock(PlannerMutex());
  input_ = fftwf_alloc_real(kSize);
  auto* out = fftwf_alloc_complex(kSize / 2 + 1);
  output_ = out;
  if (input_ && out) {
    plan_ = fftwf_plan_dft_r2c_1d(kSize, input_, out, FFTW_ESTIMATE);
  }
}

SpectrumAnalyzer::~SpectrumAnalyzer() {
  std::lock_guard<std::mutex> lock(PlannerMutex());
  if (plan_) fftwf_destroy_plan(static_cast<fftwf_plan>(plan_));
  fftwf_free(input_);
  fftwf_free(output_);
}

bool SpectrumAnalyzer::Analyze(const float* samples, std::array<float, kBins>* magnitudes) {
  if (!plan_ || !magnitudes) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  for (int i = 0; i < kSize; ++i) input_[i] = samples[i] * window_[i];
  fftwf_execute(static_cast<fftwf_plan>(plan_));
  const auto* out = static_cast<const fftwf_complex*>(output_);
  for (int k = 0; k < kBins; ++k) {
    (*magnitudes)[k] = std::sqrt(out[k][0] * out[k][0] + out[k][1] * out[k][1]) * scale_;
  }
  return true;
}

}  // namespace tw::engine
