#ifndef TUNEWRIGHT_AUDIO_ENGINE_READ_FRAMES_H_
#define TUNEWRIGHT_AUDIO_ENGINE_READ_FRAMES_H_

#include <cstdint>
#include <vector>

#include "audio/engine/decoder.h"

namespace tw::engine {

// Reads `count` frames from `start` (both clamped to the decoder's length) as interleaved
// 16-bit samples into `out`, replacing its contents; for the waveform view and analyses that
// want a whole range at once. Returns the frames read (fewer if the stream ends early).
// Allocates: call it off the mixing thread. Moves the decoder's position.
int64_t ReadFramesInt16(Decoder& decoder, int64_t start, int64_t count, std::vector<int16_t>* out);

// The same range as interleaved floats in [-1, 1].
int64_t ReadFramesFloat(Decoder& decoder, int64_t start, int64_t count, std::vector<float>* out);

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_READ_FRAMES_H_
