#ifndef TUNEWRIGHT_AUDIO_ENGINE_SINC_RESAMPLER_H_
#define TUNEWRIGHT_AUDIO_ENGINE_SINC_RESAMPLER_H_

#include <cstdint>

namespace tw::engine {

// Varispeed interpolation for stereo sources: a 16-tap Kaiser-windowed sinc evaluated at a
// fractional read position.
//
// The read position is kept as a whole source frame plus a fraction counted in 1/kRateDenominator
// frames; a playback rate of r Hz advances it by round(r * 1000) / kRateDenominator frames per
// output frame (the output runs at 44100 Hz). The arithmetic is exact integer arithmetic, so a
// source's position after any number of frames at any rate given to a thousandth of a hertz is
// exact — no drift, and syncs can be placed at exact source frames.
class SincResampler {
 public:
  static constexpr int kTaps = 16;
  static constexpr int kTapsBefore = 7;  // window = frames [pos - 7, pos + 8]
  static constexpr int kTapsAfter = 8;
  static constexpr int64_t kRateDenominator = 44100LL * 1000;

  // The fraction's step per output frame for a playback rate in Hz (0 for a rate below 1 mHz).
  static int64_t StepForRate(double rate_hz);

  // One stereo output frame from the 16 stereo frames at `window` (frames pos-7 .. pos+8),
  // interpolated at pos + fraction / kRateDenominator.
  static void Interpolate(const float* window, int64_t fraction, float* out);

  // Sum of one phase's weights (1 by construction); the engine's start-up self-check reads it.
  static double PhaseGain(int phase);
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_SINC_RESAMPLER_H_
