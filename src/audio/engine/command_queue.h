#ifndef TUNEWRIGHT_AUDIO_ENGINE_COMMAND_QUEUE_H_
#define TUNEWRIGHT_AUDIO_ENGINE_COMMAND_QUEUE_H_

#include <atomic>
#include <cstddef>
#include <mutex>
#include <vector>

namespace tw::engine {

// A bounded queue with any number of producers and one consumer at a time. Producers take a
// mutex among themselves only; the consumer (the mixing thread) never touches it, so it never
// waits for a producer. Storage is allocated once.
template <typename T>
class CommandQueue {
 public:
  explicit CommandQueue(size_t capacity) : items_(capacity + 1) {}

  // False when full.
  bool Push(const T& item) {
    std::lock_guard<std::mutex> lock(producers_);
    const size_t tail = tail_.load(std::memory_order_relaxed);
    const size_t next = (tail + 1) % items_.size();
    if (next == head_.load(std::memory_order_acquire)) return false;
    items_[tail] = item;
    tail_.store(next, std::memory_order_release);
    return true;
  }

  // Consumer only.
  bool Pop(T* item) {
    const size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire)) return false;
    *item = items_[head];
    head_.store((head + 1) % items_.size(), std::memory_order_release);
    return true;
  }

 private:
  std::vector<T> items_;
  std::mutex producers_;
  std::atomic<size_t> head_{0};
  std::atomic<size_t> tail_{0};
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_COMMAND_QUEUE_H_
