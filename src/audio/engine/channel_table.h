#ifndef TUNEWRIGHT_AUDIO_ENGINE_CHANNEL_TABLE_H_
#define TUNEWRIGHT_AUDIO_ENGINE_CHANNEL_TABLE_H_

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/engine/channel_object.h"

namespace tw::engine {

// Maps handles to channel objects. A handle is a slot index plus the slot's generation; freeing
// bumps the generation, so every older handle stops resolving at once.
//
// Lookup is lock-free (the mixing thread uses it). Freed objects go on a lock-free garbage list
// and are deleted by Collect, on a thread that may free memory, under `mutex()`; other threads
// that read through an object hold that mutex too, so nothing is deleted under them.
class ChannelTable {
 public:
  static constexpr int kCapacity = 1024;

  ChannelTable();
  ~ChannelTable();

  // Takes ownership; a null handle when the table is full. Call with mutex() held.
  Channel Register(std::unique_ptr<ChannelObject> object);
  // Null for a stale, null or foreign handle.
  ChannelObject* Lookup(Channel handle) const;
  // Mixing thread: makes the handle stale and queues the object for deletion.
  void Retire(ChannelObject* object);
  // Deletes retired objects and reuses their slots. Call with mutex() held, never on the mixing
  // thread.
  void Collect();
  // Every live object (for shutdown). Call with mutex() held.
  std::vector<ChannelObject*> Live() const;

  std::mutex& mutex() { return mutex_; }

 private:
  struct Slot {
    std::atomic<uint32_t> generation{1};
    std::atomic<ChannelObject*> object{nullptr};
  };
  static int IndexOf(Channel handle) { return static_cast<int>(handle.value & 0xffffffffu) - 1; }

  std::array<Slot, kCapacity> slots_;
  std::vector<int> free_;
  std::atomic<ChannelObject*> garbage_{nullptr};
  std::mutex mutex_;
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_CHANNEL_TABLE_H_
