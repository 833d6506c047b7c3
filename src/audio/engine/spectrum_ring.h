#ifndef TUNEWRIGHT_AUDIO_ENGINE_SPECTRUM_RING_H_
#define TUNEWRIGHT_AUDIO_ENGINE_SPECTRUM_RING_H_

#include <array>
#include <atomic>
#include <cstdint>

namespace tw::engine {

// The most recent output of a mixer, mixed to mono, for the spectrum display. Written by the
// mixing thread, read by any thread without locks; a reader that is lapped mid-copy gets a
// slightly mixed picture, which a level display tolerates.
class SpectrumRing {
 public:
  static constexpr int kSize = 4096;

  void Push(const float* stereo, int64_t frames) {
    uint64_t w = written_.load(std::memory_order_relaxed);
    for (int64_t i = 0; i < frames; ++i, ++w) {
      samples_[w % kSize].store(0.5f * (stereo[2 * i] + stereo[2 * i + 1]),
                                std::memory_order_relaxed);
    }
    written_.store(w, std::memory_order_release);
  }

  // The latest `n` samples (n <= kSize), oldest first; false before that many were written.
  bool Latest(float* out, int n) const {
    const uint64_t w = written_.load(std::memory_order_acquire);
    if (n > kSize || w < static_cast<uint64_t>(n)) return false;
    for (int i = 0; i < n; ++i) {
      out[i] = samples_[(w - n + i) % kSize].load(std::memory_order_relaxed);
    }
    return true;
  }

 private:
  std::array<std::atomic<float>, kSize> samples_{};
  std::atomic<uint64_t> written_{0};
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_SPECTRUM_RING_H_
