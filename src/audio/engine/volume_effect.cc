#include "audio/engine/volume_effect.h"

#include <cmath>

#include "audio/engine/positions.h"

namespace tw::engine {

void VolumeEffect::Set(const VolumeRamp& ramp) {
  start_ = ramp.start < 0.0f ? level_ : ramp.start;
  target_ = ramp.target;
  const double frames = std::isfinite(ramp.seconds) ? ramp.seconds * kMixRate : 0.0;
  ramp_frames_ = frames > 0.0 ? std::llround(frames) : 0;
  ramp_done_ = 0;
  level_ = ramp_frames_ > 0 ? start_ : target_;
}

void VolumeEffect::Process(float* stereo, int64_t frames) {
  int64_t i = 0;
  if (ramp_done_ < ramp_frames_) {
    // The level is computed from the ramp's start for every frame, so a long ramp does not
    // accumulate rounding and ends exactly on its target.
    const float span = target_ - start_;
    const double inv = 1.0 / static_cast<double>(ramp_frames_);
    for (; i < frames && ramp_done_ < ramp_frames_; ++i, ++ramp_done_) {
      level_ = start_ + span * static_cast<float>(ramp_done_ * inv);
      stereo[2 * i] *= level_;
      stereo[2 * i + 1] *= level_;
    }
    if (ramp_done_ >= ramp_frames_) level_ = target_;
  }
  if (level_ == 1.0f) return;
  for (; i < frames; ++i) {
    stereo[2 * i] *= level_;
    stereo[2 * i + 1] *= level_;
  }
}

}  // namespace tw::engine
