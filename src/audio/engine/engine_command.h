#ifndef TUNEWRIGHT_AUDIO_ENGINE_ENGINE_COMMAND_H_
#define TUNEWRIGHT_AUDIO_ENGINE_ENGINE_COMMAND_H_

#include <cstdint>

#include "audio/engine/engine_types.h"
#include "audio/engine/sync_list.h"

namespace tw::engine {

// One changing call on the engine, as it travels from a non-mixing thread to the mixing thread.
// Trivially copyable so the queue holds it by value.
struct Command {
  enum class Op {
    kFree,
    kRegisterTopLevel,
    kSetPosition,
    kSetRate,
    kSetVolume,
    kPlay,
    kPause,
    kStop,
    kAddSource,
    kRemoveSource,
    kAddSync,
    kRemoveSync,
    kAddVolumeEffect,
    kSetVolumeEffect,
    kAddHighPass,
    kAddDynamicAmp,
    kRemoveEffect,
  };

  Op op = Op::kFree;
  Channel target;
  Channel other;    // the source of kAddSource / kRemoveSource
  uint64_t id = 0;  // sync or effect id
  int64_t frame = 0;
  double rate = 0.0;
  float volume = 1.0f;
  bool restart = false;
  bool queued = false;  // counted in the target's `pending`
  VolumeRamp ramp;
  HighPassParams high_pass;
  DynamicAmpParams dynamic_amp;
  SyncList::Entry sync;
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_ENGINE_COMMAND_H_
