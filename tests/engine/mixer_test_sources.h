#ifndef TUNEWRIGHT_TESTS_ENGINE_MIXER_TEST_SOURCES_H_
#define TUNEWRIGHT_TESTS_ENGINE_MIXER_TEST_SOURCES_H_

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <utility>
#include <vector>

#include "audio/engine/decoder.h"

namespace tw::engine::testing {

// Synthesized PCM held in memory, behind the decoder interface.
class PcmDecoder : public Decoder {
 public:
  PcmDecoder(std::vector<float> samples, int channels, int sample_rate = 44100)
      : samples_(std::move(samples)), channels_(channels), rate_(sample_rate) {}

  AudioFormat Format() const override { return {rate_, channels_}; }
  int64_t LengthFrames() const override {
    return static_cast<int64_t>(samples_.size()) / channels_;
  }
  int64_t Read(float* out, int64_t frames) override {
    const int64_t n = std::clamp<int64_t>(LengthFrames() - position_, 0, frames);
    std::copy_n(samples_.begin() + position_ * channels_, n * channels_, out);
    position_ += n;
    return n;
  }
  bool Seek(int64_t frame) override {
    position_ = std::clamp<int64_t>(frame, 0, LengthFrames());
    return true;
  }
  int64_t Position() const override { return position_; }

 private:
  std::vector<float> samples_;
  int channels_;
  int rate_;
  int64_t position_ = 0;
};

// A stereo source whose both channels at frame i are value(i).
inline std::unique_ptr<Decoder> MakeSource(int64_t frames,
                                           const std::function<float(int64_t)>& value,
                                           int sample_rate = 44100) {
  std::vector<float> samples(static_cast<size_t>(frames * 2));
  for (int64_t i = 0; i < frames; ++i) samples[2 * i] = samples[2 * i + 1] = value(i);
  return std::make_unique<PcmDecoder>(std::move(samples), 2, sample_rate);
}

inline std::unique_ptr<Decoder> MakeConstant(int64_t frames, float value) {
  return MakeSource(frames, [value](int64_t) { return value; });
}

inline std::unique_ptr<Decoder> MakeSine(int64_t frames, double hz, float amplitude) {
  return MakeSource(frames, [=](int64_t i) {
    return amplitude * static_cast<float>(std::sin(2.0 * std::numbers::pi * hz * i / 44100.0));
  });
}

// Root-mean-square of the left channel of interleaved stereo frames [from, to).
inline double Rms(const std::vector<float>& stereo, int64_t from, int64_t to) {
  double sum = 0.0;
  for (int64_t i = from; i < to; ++i) sum += double(stereo[2 * i]) * stereo[2 * i];
  return std::sqrt(sum / static_cast<double>(to - from));
}

}  // namespace tw::engine::testing

#endif  // TUNEWRIGHT_TESTS_ENGINE_MIXER_TEST_SOURCES_H_
