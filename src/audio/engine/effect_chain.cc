#include "audio/engine/effect_chain.h"

namespace tw::engine {

EffectChain::Slot* EffectChain::Append(uint64_t id, Kind kind) {
  if (count_ >= kCapacity) return nullptr;
  Slot& slot = slots_[count_++];
  slot = Slot{};
  slot.id = id;
  slot.kind = kind;
  return &slot;
}

bool EffectChain::AddVolume(uint64_t id, const VolumeRamp& ramp) {
  Slot* slot = Append(id, Kind::kVolume);
  if (slot) slot->volume.Set(ramp);
  return slot != nullptr;
}

bool EffectChain::AddHighPass(uint64_t id, const HighPassParams& params) {
  Slot* slot = Append(id, Kind::kHighPass);
  if (slot) slot->high_pass.Set(params);
  return slot != nullptr;
}

bool EffectChain::AddDynamicAmp(uint64_t id, const DynamicAmpParams& params) {
  Slot* slot = Append(id, Kind::kDynamicAmp);
  if (slot) slot->dynamic_amp.Set(params);
  return slot != nullptr;
}

bool EffectChain::SetVolume(uint64_t id, const VolumeRamp& ramp) {
  for (int i = 0; i < count_; ++i) {
    if (slots_[i].id == id && slots_[i].kind == Kind::kVolume) {
      slots_[i].volume.Set(ramp);
      return true;
    }
  }
  return false;
}

bool EffectChain::Remove(uint64_t id) {
  for (int i = 0; i < count_; ++i) {
    if (slots_[i].id != id) continue;
    for (int j = i + 1; j < count_; ++j) slots_[j - 1] = slots_[j];
    --count_;
    return true;
  }
  return false;
}

void EffectChain::Process(float* stereo, int64_t frames) {
  for (int i = 0; i < count_; ++i) {
    Slot& slot = slots_[i];
    switch (slot.kind) {
      case Kind::kVolume:
        slot.volume.Process(stereo, frames);
        break;
      case Kind::kHighPass:
        slot.high_pass.Process(stereo, frames);
        break;
      case Kind::kDynamicAmp:
        slot.dynamic_amp.Process(stereo, frames);
        break;
    }
  }
}

}  // namespace tw::engine
