#ifndef TUNEWRIGHT_AUDIO_ENGINE_VOLUME_EFFECT_H_
#define TUNEWRIGHT_AUDIO_ENGINE_VOLUME_EFFECT_H_

#include <cstdint>

#include "audio/engine/engine_types.h"

namespace tw::engine {

// One gain stage with a linear ramp. Several stages on one channel multiply; a new stage starts
// at unity, so a start level of -1 on a new stage ramps from 1.
class VolumeEffect {
 public:
  void Set(const VolumeRamp& ramp);
  float Level() const { return level_; }
  void Process(float* stereo, int64_t frames);

 private:
  float level_ = 1.0f;
  float target_ = 1.0f;
  float start_ = 1.0f;
  int64_t ramp_frames_ = 0;
  int64_t ramp_done_ = 0;
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_VOLUME_EFFECT_H_
