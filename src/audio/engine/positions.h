#ifndef TUNEWRIGHT_AUDIO_ENGINE_POSITIONS_H_
#define TUNEWRIGHT_AUDIO_ENGINE_POSITIONS_H_

#include <cmath>
#include <compare>
#include <cstdint>

namespace tw::engine {

// Positions come in three units that must never mix silently: sample frames (what the engine
// counts in), byte offsets of the 16-bit stereo form the rest of the program stores (4 bytes per
// frame, whatever the decoder's own format), and seconds at a stream's own sample rate. Every
// conversion between them lives in this header.

inline constexpr int kMixRate = 44100;
inline constexpr int kMixChannels = 2;
inline constexpr int64_t kBytesPerFrame = 4;

struct Frames {
  int64_t value = 0;
  constexpr Frames() = default;
  constexpr explicit Frames(int64_t v) : value(v) {}
  auto operator<=>(const Frames&) const = default;
  constexpr Frames operator+(Frames o) const { return Frames(value + o.value); }
  constexpr Frames operator-(Frames o) const { return Frames(value - o.value); }
};

struct Bytes {
  int64_t value = 0;
  constexpr Bytes() = default;
  constexpr explicit Bytes(int64_t v) : value(v) {}
  auto operator<=>(const Bytes&) const = default;
};

struct Seconds {
  double value = 0.0;
  constexpr Seconds() = default;
  constexpr explicit Seconds(double v) : value(v) {}
  auto operator<=>(const Seconds&) const = default;
};

constexpr Bytes ToBytes(Frames f) { return Bytes(f.value * kBytesPerFrame); }
// A byte offset inside a frame counts as that frame's start.
constexpr Frames ToFrames(Bytes b) {
  return Frames(b.value >= 0 ? b.value / kBytesPerFrame : -((-b.value) / kBytesPerFrame));
}
// Seconds to the nearest frame: marker times are stored as 32-bit floats, so truncating would
// put a marker like 0.48 s one frame early half of the time.
inline Frames ToFrames(Seconds s, int sample_rate) {
  return Frames(std::llround(s.value * static_cast<double>(sample_rate)));
}
inline Seconds ToSeconds(Frames f, int sample_rate) {
  return Seconds(sample_rate > 0 ? static_cast<double>(f.value) / sample_rate : 0.0);
}
inline Bytes ToBytes(Seconds s, int sample_rate) { return ToBytes(ToFrames(s, sample_rate)); }
inline Seconds ToSeconds(Bytes b, int sample_rate) { return ToSeconds(ToFrames(b), sample_rate); }

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_POSITIONS_H_
