#ifndef TUNEWRIGHT_AUDIO_ENGINE_SYNC_LIST_H_
#define TUNEWRIGHT_AUDIO_ENGINE_SYNC_LIST_H_

#include <array>
#include <cstdint>
#include <limits>

#include "audio/engine/engine_types.h"

namespace tw::engine {

// The syncs armed on one stream, in a fixed array so arming and removing never allocate (both
// happen inside syncs on the mixing thread).
class SyncList {
 public:
  static constexpr int kCapacity = 48;
  static constexpr int64_t kNone = std::numeric_limits<int64_t>::max();

  struct Entry {
    uint64_t id = 0;
    bool at_end = false;
    SyncMode mode = SyncMode::kOnce;
    int64_t frame = 0;
    SyncFn fn = nullptr;
    void* context = nullptr;
    int64_t user = 0;
    uint64_t order = 0;  // arming order: syncs due at one frame fire in the order they were armed
  };

  // False when the list is full.
  bool Add(const Entry& entry);
  bool Remove(uint64_t id);
  void Clear() { count_ = 0; }

  // The smallest position-sync frame >= from, or kNone.
  int64_t NextFrame(int64_t from) const;
  // The position sync due next among frames [from, to] after (after_frame, after_order) in
  // (frame, order) sequence; null when none.
  const Entry* NextDue(int64_t from, int64_t to, int64_t after_frame, uint64_t after_order) const;
  // The end sync armed next after `after_order`; null when none.
  const Entry* NextEnd(uint64_t after_order) const;

 private:
  std::array<Entry, kCapacity> entries_{};
  int count_ = 0;
  uint64_t next_order_ = 1;
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_SYNC_LIST_H_
