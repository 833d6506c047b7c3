#ifndef TUNEWRIGHT_AUDIO_ENGINE_ENGINE_TYPES_H_
#define TUNEWRIGHT_AUDIO_ENGINE_ENGINE_TYPES_H_

#include <cstdint>

namespace tw::engine {

class Engine;

// A stream or a mixer. Zero is never valid; a handle outlives its object harmlessly: every call
// on a freed or null handle fails without effect.
struct Channel {
  uint64_t value = 0;
  explicit operator bool() const { return value != 0; }
  bool operator==(const Channel&) const = default;
};

// An effect or a sync belongs to one channel; `id` is unique for the engine's life.
struct Effect {
  Channel channel;
  uint64_t id = 0;
  explicit operator bool() const { return id != 0; }
};

struct Sync {
  Channel channel;
  uint64_t id = 0;
  explicit operator bool() const { return id != 0; }
};

enum class StreamKind {
  kDecode,    // a mixer source, or read directly; never sounds by itself
  kPlayable,  // sounds by itself (a preview), summed into the output
};

enum class MixerKind {
  kPlaying,   // pulled by the output device
  kDecoding,  // pulled by the caller through Engine::RenderDecoding
};

enum class PlayState { kStopped, kPlaying, kPaused };

enum class SyncMode { kOnce, kPermanent };

struct SyncEvent {
  Engine* engine;
  Channel channel;
  Sync sync;
  int64_t user;
  void* context;
};

// Runs on the thread that renders the channel, at the exact frame; must not block. A plain
// function pointer and a context, so arming a sync from inside a sync never allocates.
using SyncFn = void (*)(const SyncEvent& event);

struct VolumeRamp {
  float target = 1.0f;
  float start = -1.0f;  // below 0: the level the effect has at that moment (1 for a new one)
  double seconds = 0.0;
};

struct HighPassParams {
  double frequency_hz = 300.0;
  double q = 0.7;
};

// Automatic gain control; see dynamic_amp.h for what each value means.
struct DynamicAmpParams {
  float target = 0.44f;
  float quiet = 0.03f;
  float rate = 0.01f;
  float gain = 1.0f;
  double delay_seconds = 0.035;
};

enum class EncoderFormat { kMp3_320, kWav16 };

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_ENGINE_TYPES_H_
