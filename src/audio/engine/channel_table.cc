#include "audio/engine/channel_table.h"

namespace tw::engine {

ChannelTable::ChannelTable() {
  free_.reserve(kCapacity);
  for (int i = kCapacity - 1; i >= 0; --i) free_.push_back(i);
}

ChannelTable::~ChannelTable() {
  std::lock_guard<std::mutex> lock(mutex_);
  Collect();
  for (Slot& slot : slots_) delete slot.object.exchange(nullptr);
}

Channel ChannelTable::Register(std::unique_ptr<ChannelObject> object) {
  if (free_.empty()) return Channel{};
  const int index = free_.back();
  free_.pop_back();
  Slot& slot = slots_[index];
  const uint32_t generation = slot.generation.load(std::memory_order_relaxed);
  const Channel handle{(static_cast<uint64_t>(generation) << 32) |
                       static_cast<uint64_t>(index + 1)};
  object->handle = handle;
  slot.object.store(object.release(), std::memory_order_release);
  return handle;
}

ChannelObject* ChannelTable::Lookup(Channel handle) const {
  const int index = IndexOf(handle);
  if (index < 0 || index >= kCapacity) return nullptr;
  const Slot& slot = slots_[index];
  if (slot.generation.load(std::memory_order_acquire) !=
      static_cast<uint32_t>(handle.value >> 32)) {
    return nullptr;
  }
  return slot.object.load(std::memory_order_acquire);
}

void ChannelTable::Retire(ChannelObject* object) {
  object->dead = true;
  const int index = IndexOf(object->handle);
  uint32_t next = slots_[index].generation.load(std::memory_order_relaxed) + 1;
  if (next == 0) next = 1;
  slots_[index].generation.store(next, std::memory_order_release);
  ChannelObject* head = garbage_.load(std::memory_order_relaxed);
  do {
    object->next_garbage = head;
  } while (!garbage_.compare_exchange_weak(head, object, std::memory_order_release,
                                           std::memory_order_relaxed));
}

void ChannelTable::Collect() {
  ChannelObject* object = garbage_.exchange(nullptr, std::memory_order_acquire);
  while (object) {
    ChannelObject* next = object->next_garbage;
    const int index = IndexOf(object->handle);
    slots_[index].object.store(nullptr, std::memory_order_release);
    free_.push_back(index);
    delete object;
    object = next;
  }
}

std::vector<ChannelObject*> ChannelTable::Live() const {
  std::vector<ChannelObject*> live;
  for (const Slot& slot : slots_) {
    ChannelObject* object = slot.object.load(std::memory_order_acquire);
    if (object && !object->dead) live.push_back(object);
  }
  return live;
}

}  // namespace tw::engine
