#ifndef TUNEWRIGHT_AUDIO_ENGINE_HIGH_PASS_FILTER_H_
#define TUNEWRIGHT_AUDIO_ENGINE_HIGH_PASS_FILTER_H_

#include <cstdint>

#include "audio/engine/engine_types.h"

namespace tw::engine {

// Second-order (biquad) high-pass on both channels at the mixing rate, in transposed direct
// form II with double state so a 300 Hz corner stays clean at 44100 Hz.
class HighPassFilter {
 public:
  void Set(const HighPassParams& params);
  void Process(float* stereo, int64_t frames);

 private:
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double z1_[2] = {0, 0};
  double z2_[2] = {0, 0};
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_HIGH_PASS_FILTER_H_
