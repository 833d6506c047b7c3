#ifndef TUNEWRIGHT_AUDIO_ENGINE_DYNAMIC_AMP_H_
#define TUNEWRIGHT_AUDIO_ENGINE_DYNAMIC_AMP_H_

#include <cstdint>

#include "audio/engine/engine_types.h"

namespace tw::engine {

// Automatic gain control that steers the output's peak level towards `target`.
//
// The signal is measured in 1 ms steps. When a step's peak times the gain would exceed the
// target, the gain drops at once to target / peak for that whole step (no overshoot, no
// look-ahead delay). When the output stays below the target, the gain rises only after `delay`
// seconds of that, then covers the fraction `rate` of the way to target / peak per step, so a
// rate of 0.01 gives a time constant of about 100 ms and the gaps between kicks do not pump.
// Peaks below `quiet` count as silence: the gain is held, so fades and pauses are not boosted
// into noise; for the same reason the gain never exceeds target / quiet. `gain` is the
// amplification the effect starts with. Rising steps are ramped linearly inside the step.
class DynamicAmp {
 public:
  void Set(const DynamicAmpParams& params);
  void Process(float* stereo, int64_t frames);
  float Gain() const { return gain_; }

 private:
  void ProcessStep(float* stereo, int64_t frames);

  DynamicAmpParams params_;
  float gain_ = 1.0f;
  float max_gain_ = 1.0f;
  int64_t hold_frames_ = 0;
  int64_t hold_left_ = 0;
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_DYNAMIC_AMP_H_
