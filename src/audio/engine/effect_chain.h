#ifndef TUNEWRIGHT_AUDIO_ENGINE_EFFECT_CHAIN_H_
#define TUNEWRIGHT_AUDIO_ENGINE_EFFECT_CHAIN_H_

#include <array>
#include <cstdint>

#include "audio/engine/dynamic_amp.h"
#include "audio/engine/high_pass_filter.h"
#include "audio/engine/volume_effect.h"

namespace tw::engine {

// The effects of one channel in the order they were added, in fixed storage: effects are added
// and removed inside syncs on the mixing thread, so this never allocates.
class EffectChain {
 public:
  static constexpr int kCapacity = 32;
  enum class Kind { kVolume, kHighPass, kDynamicAmp };

  // False when the chain is full.
  bool AddVolume(uint64_t id, const VolumeRamp& ramp);
  bool AddHighPass(uint64_t id, const HighPassParams& params);
  bool AddDynamicAmp(uint64_t id, const DynamicAmpParams& params);
  // False when `id` is not a volume effect of this chain.
  bool SetVolume(uint64_t id, const VolumeRamp& ramp);
  bool Remove(uint64_t id);
  void Clear() { count_ = 0; }
  int Count() const { return count_; }

  void Process(float* stereo, int64_t frames);

 private:
  struct Slot {
    uint64_t id = 0;
    Kind kind = Kind::kVolume;
    VolumeEffect volume;
    HighPassFilter high_pass;
    DynamicAmp dynamic_amp;
  };
  Slot* Append(uint64_t id, Kind kind);

  std::array<Slot, kCapacity> slots_{};
  int count_ = 0;
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_EFFECT_CHAIN_H_
