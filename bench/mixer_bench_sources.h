#ifndef TUNEWRIGHT_BENCH_MIXER_BENCH_SOURCES_H_
#define TUNEWRIGHT_BENCH_MIXER_BENCH_SOURCES_H_

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "audio/engine/decoder.h"

namespace tw::bench {

// A long synthetic song: a few seconds of music-like PCM (kick, chord, noise) held in memory and
// repeated to the wanted length, behind the decoder interface. Stands in for real decoders.
class LoopedPcmDecoder : public engine::Decoder {
 public:
  LoopedPcmDecoder(int64_t length_frames, double bpm, uint32_t seed)
      : length_(length_frames), loop_(static_cast<int64_t>(44100 * 8)) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> noise(-0.05f, 0.05f);
    pcm_.resize(static_cast<size_t>(loop_ * 2));
    const double beat = 60.0 / bpm * 44100.0;
    for (int64_t i = 0; i < loop_; ++i) {
      const double t = std::fmod(static_cast<double>(i), beat) / 44100.0;
      const double kick = std::exp(-t * 30.0) * std::sin(2 * std::numbers::pi * 55.0 * t);
      const double chord = 0.15 * (std::sin(2 * std::numbers::pi * 220.0 * i / 44100.0) +
                                   std::sin(2 * std::numbers::pi * 277.2 * i / 44100.0));
      pcm_[2 * i] = static_cast<float>(0.5 * kick + chord) + noise(random);
      pcm_[2 * i + 1] = static_cast<float>(0.5 * kick - chord) + noise(random);
    }
  }

  engine::AudioFormat Format() const override { return {44100, 2}; }
  int64_t LengthFrames() const override { return length_; }
  int64_t Read(float* out, int64_t frames) override {
    const int64_t n = std::clamp<int64_t>(length_ - position_, 0, frames);
    for (int64_t done = 0; done < n;) {
      const int64_t at = (position_ + done) % loop_;
      const int64_t run = std::min(n - done, loop_ - at);
      std::copy_n(pcm_.begin() + 2 * at, 2 * run, out + 2 * done);
      done += run;
    }
    position_ += n;
    return n;
  }
  bool Seek(int64_t frame) override {
    position_ = std::clamp<int64_t>(frame, 0, length_);
    return true;
  }
  int64_t Position() const override { return position_; }

 private:
  int64_t length_;
  int64_t loop_;
  std::vector<float> pcm_;
  int64_t position_ = 0;
};

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace tw::bench

#endif  // TUNEWRIGHT_BENCH_MIXER_BENCH_SOURCES_H_
