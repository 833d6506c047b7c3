#include "audio/engine/sync_list.h"

namespace tw::engine {

bool SyncList::Add(const Entry& entry) {
  if (count_ >= kCapacity) return false;
  entries_[count_] = entry;
  entries_[count_].order = next_order_++;
  ++count_;
  return true;
}

bool SyncList::Remove(uint64_t id) {
  for (int i = 0; i < count_; ++i) {
    if (entries_[i].id != id) continue;
    for (int j = i + 1; j < count_; ++j) entries_[j - 1] = entries_[j];
    --count_;
    return true;
  }
  return false;
}

int64_t SyncList::NextFrame(int64_t from) const {
  int64_t best = kNone;
  for (int i = 0; i < count_; ++i) {
    const Entry& e = entries_[i];
    if (!e.at_end && e.frame >= from && e.frame < best) best = e.frame;
  }
  return best;
}

const SyncList::Entry* SyncList::NextDue(int64_t from, int64_t to, int64_t after_frame,
                                         uint64_t after_order) const {
  const Entry* best = nullptr;
  for (int i = 0; i < count_; ++i) {
    const Entry& e = entries_[i];
    if (e.at_end || e.frame < from || e.frame > to) continue;
    if (e.frame < after_frame || (e.frame == after_frame && e.order <= after_order)) continue;
    if (!best || e.frame < best->frame || (e.frame == best->frame && e.order < best->order)) {
      best = &e;
    }
  }
  return best;
}

const SyncList::Entry* SyncList::NextEnd(uint64_t after_order) const {
  const Entry* best = nullptr;
  for (int i = 0; i < count_; ++i) {
    const Entry& e = entries_[i];
    if (!e.at_end || e.order <= after_order) continue;
    if (!best || e.order < best->order) best = &e;
  }
  return best;
}

}  // namespace tw::engine
