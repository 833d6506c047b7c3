#ifndef TUNEWRIGHT_AUDIO_ENGINE_TEMPO_H_
#define TUNEWRIGHT_AUDIO_ENGINE_TEMPO_H_

#include <cstddef>
#include <cstdint>

#include "audio/engine/decoder.h"

namespace tw::engine {

// The centre of the tempo tracker's own prior.
constexpr double kDefaultPreferredBpm = 120.0;

// Tempo in BPM of the frames [start_frame, start_frame + frame_count) of `decoder` (clamped
// to its length), from an onset detection function and a beat tracker; corrected where the
// tracker locked onto two thirds or three halves of the beat. Not folded into any range.
// Between tempos an octave apart that fit the music about equally (a beat with strong
// off-beats, a half-time feel), the tracker leans to the one nearer `preferred_bpm`.
// Returns 0 when the range is shorter than about 7.5 seconds or holds no beat. Decodes and
// allocates: call it off the mixing thread. Moves the decoder's position.
double EstimateTempoBpm(Decoder& decoder, int64_t start_frame, int64_t frame_count,
                        double preferred_bpm = kDefaultPreferredBpm);

// The same on `frames` mono samples at `sample_rate`.
double EstimateTempoBpm(const float* mono, size_t frames, int sample_rate,
                        double preferred_bpm = kDefaultPreferredBpm);

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_TEMPO_H_
