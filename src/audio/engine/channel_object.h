#ifndef TUNEWRIGHT_AUDIO_ENGINE_CHANNEL_OBJECT_H_
#define TUNEWRIGHT_AUDIO_ENGINE_CHANNEL_OBJECT_H_

#include <atomic>
#include <cstdint>

#include "audio/engine/effect_chain.h"
#include "audio/engine/engine_types.h"

namespace tw::engine {

// What streams and mixers share. Every field except the atomics belongs to the thread that owns
// the render domain (see engine.h); the atomics are snapshots for every other thread.
class ChannelObject {
 public:
  enum class Type { kStream, kMixer };

  explicit ChannelObject(Type type) : type_(type) {}
  virtual ~ChannelObject() = default;
  ChannelObject(const ChannelObject&) = delete;
  ChannelObject& operator=(const ChannelObject&) = delete;

  Type type() const { return type_; }

  Channel handle;
  EffectChain effects;
  float volume = 1.0f;
  bool dead = false;  // freed; waits in the garbage list for a non-mixing thread to delete it

  // Snapshots. `pending` counts commands posted for this channel and not yet applied; while it is
  // above zero the render does not overwrite what the posting thread wrote, so a caller reads
  // back what it has just set.
  std::atomic<int64_t> shown_position{0};
  std::atomic<int> shown_state{static_cast<int>(PlayState::kStopped)};
  std::atomic<double> shown_rate{0.0};
  std::atomic<int> pending{0};

  ChannelObject* next_garbage = nullptr;

 private:
  Type type_;
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_CHANNEL_OBJECT_H_
