#include "audio/engine/high_pass_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "audio/engine/positions.h"

namespace tw::engine {

void HighPassFilter::Set(const HighPassParams& params) {
  const double nyquist = kMixRate / 2.0;
  const double f0 = std::clamp(std::isfinite(params.frequency_hz) ? params.frequency_hz : 300.0,
                               1.0, nyquist * 0.95);
  const double q = std::clamp(std::isfinite(params.q) ? params.q : 0.7, 0.1, 20.0);
  const double w0 = 2.0 * std::numbers::pi * f0 / kMixRate;
  const double alpha = std::sin(w0) / (2.0 * q);
  const double cosw = std::cos(w0);
  const double a0 = 1.0 + alpha;
  b0_ = (1.0 + cosw) / 2.0 / a0;
  b1_ = -(1.0 + cosw) / a0;
  b2_ = b0_;
  a1_ = -2.0 * cosw / a0;
  a2_ = (1.0 - alpha) / a0;
}

void HighPassFilter::Process(float* stereo, int64_t frames) {
  for (int c = 0; c < 2; ++c) {
    double z1 = z1_[c];
    double z2 = z2_[c];
    for (int64_t i = 0; i < frames; ++i) {
      const double x = stereo[2 * i + c];
      const double y = b0_ * x + z1;
      z1 = b1_ * x - a1_ * y + z2;
      z2 = b2_ * x - a2_ * y;
      stereo[2 * i + c] = static_cast<float>(y);
    }
    // Flush denormals left by a long silence.
    z1_[c] = std::abs(z1) < 1e-30 ? 0.0 : z1;
    z2_[c] = std::abs(z2) < 1e-30 ? 0.0 : z2;
  }
}

}  // namespace tw::engine
