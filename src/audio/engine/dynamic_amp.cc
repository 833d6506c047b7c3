#include "audio/engine/dynamic_amp.h"

#include <algorithm>
#include <cmath>

#include "audio/engine/positions.h"

namespace tw::engine {
namespace {

constexpr int64_t kStepFrames = kMixRate / 1000;

float Sane(float value, float fallback, float low, float high) {
  return std::isfinite(value) && value >= low && value <= high ? value : fallback;
}

}  // namespace

void DynamicAmp::Set(const DynamicAmpParams& params) {
  const DynamicAmpParams defaults;
  params_.target = Sane(params.target, defaults.target, 0.001f, 1.0f);
  params_.quiet = Sane(params.quiet, defaults.quiet, 0.0001f, params_.target);
  params_.rate = Sane(params.rate, defaults.rate, 0.0f, 1.0f);
  params_.gain = Sane(params.gain, defaults.gain, 0.0f, 1000.0f);
  params_.delay_seconds = std::isfinite(params.delay_seconds) && params.delay_seconds >= 0
                              ? params.delay_seconds
                              : defaults.delay_seconds;
  max_gain_ = std::max(params_.target / params_.quiet, params_.gain);
  gain_ = params_.gain;
  hold_frames_ = std::llround(params_.delay_seconds * kMixRate);
  hold_left_ = hold_frames_;
}

void DynamicAmp::Process(float* stereo, int64_t frames) {
  for (int64_t done = 0; done < frames;) {
    const int64_t n = std::min(kStepFrames, frames - done);
    ProcessStep(stereo + 2 * done, n);
    done += n;
  }
}

void DynamicAmp::ProcessStep(float* stereo, int64_t frames) {
  float peak = 0.0f;
  for (int64_t i = 0; i < 2 * frames; ++i) peak = std::max(peak, std::abs(stereo[i]));
  float next = gain_;
  if (peak * gain_ > params_.target) {
    next = params_.target / peak;
    gain_ = next;  // drop at once for the whole step
    hold_left_ = hold_frames_;
  } else if (peak >= params_.quiet) {
    if (hold_left_ > 0) {
      hold_left_ -= frames;
    } else {
      const float wanted = std::min(params_.target / peak, max_gain_);
      if (wanted > gain_) next = gain_ + (wanted - gain_) * params_.rate;
    }
  }
  const float step = (next - gain_) / static_cast<float>(frames);
  for (int64_t i = 0; i < frames; ++i) {
    const float g = gain_ + step * static_cast<float>(i + 1);
    stereo[2 * i] *= g;
    stereo[2 * i + 1] *= g;
  }
  gain_ = next;
}

}  // namespace tw::engine
