#ifndef TUNEWRIGHT_AUDIO_ENGINE_SAMPLE_CLAMP_H_
#define TUNEWRIGHT_AUDIO_ENGINE_SAMPLE_CLAMP_H_

#include <cstddef>

namespace tw::engine {

// Lossy codecs overshoot full scale a little; every decoder hands out samples in [-1, 1].
inline void ClampToUnit(float* samples, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (samples[i] > 1.0f) samples[i] = 1.0f;
    if (samples[i] < -1.0f) samples[i] = -1.0f;
  }
}

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_SAMPLE_CLAMP_H_
