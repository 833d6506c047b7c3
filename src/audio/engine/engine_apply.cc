// The changing calls as the mixing thread carries them out, and their preview on the calling
// thread when they are queued.
#include <algorithm>
#include <cmath>

#include "audio/engine/engine.h"
#include "audio/engine/engine_command.h"
#include "audio/engine/stream.h"

namespace tw::engine {
namespace {

Stream* AsStream(ChannelObject* object) {
  return object && object->type() == ChannelObject::Type::kStream ? static_cast<Stream*>(object)
                                                                  : nullptr;
}

Mixer* AsMixer(ChannelObject* object) {
  return object && object->type() == ChannelObject::Type::kMixer ? static_cast<Mixer*>(object)
                                                                 : nullptr;
}

// The mixer whose play state a channel's Play, Pause and Stop drive: a mixer itself, or a
// playable stream's own bus.
Mixer* TransportOf(ChannelObject* object) {
  if (Mixer* mixer = AsMixer(object)) return mixer;
  if (Stream* stream = AsStream(object)) return stream->bus.get();
  return nullptr;
}

bool ValidVolume(float v) { return std::isfinite(v) && v >= 0.0f; }

bool Valid(ChannelObject* object, const Command& c) {
  using Op = Command::Op;
  switch (c.op) {
    case Op::kSetPosition:
      return AsStream(object) || (AsMixer(object) && c.frame == 0);
    case Op::kSetRate:
      return AsStream(object) && c.rate > 0.0 && c.rate <= Stream::kMaxRate;
    case Op::kSetVolume:
      return ValidVolume(c.volume);
    case Op::kPlay:
    case Op::kPause:
    case Op::kStop:
      return TransportOf(object) != nullptr;
    case Op::kAddSource:
    case Op::kRemoveSource:
      return AsMixer(object) != nullptr;
    case Op::kAddSync:
    case Op::kRemoveSync:
      return AsStream(object) != nullptr && (c.op == Op::kRemoveSync || c.sync.fn != nullptr);
    default:
      return object != nullptr;
  }
}

}  // namespace

bool Engine::Preview(ChannelObject* object, const Command& c) const {
  using Op = Command::Op;
  if (!Valid(object, c)) return false;
  switch (c.op) {
    case Op::kSetPosition: {
      int64_t frame = c.frame;
      if (Stream* s = AsStream(object)) frame = std::clamp<int64_t>(frame, 0, s->LengthFrames());
      object->shown_position.store(frame);
      break;
    }
    case Op::kSetRate:
      object->shown_rate.store(c.rate);
      break;
    case Op::kPlay:
      object->shown_state.store(static_cast<int>(PlayState::kPlaying));
      if (c.restart) object->shown_position.store(0);
      break;
    case Op::kPause:
      if (object->shown_state.load() == static_cast<int>(PlayState::kPlaying)) {
        object->shown_state.store(static_cast<int>(PlayState::kPaused));
      }
      break;
    case Op::kStop:
      object->shown_state.store(static_cast<int>(PlayState::kStopped));
      break;
    default:
      break;
  }
  return true;
}

bool Engine::Apply(const Command& c) {
  using Op = Command::Op;
  ChannelObject* object = table_.Lookup(c.target);
  if (!object || object->dead || !Valid(object, c)) return false;
  bool ok = true;
  switch (c.op) {
    case Op::kFree:
      FreeLocked(object);
      return true;
    case Op::kRegisterTopLevel:
      if (Mixer* mixer = TransportOf(object)) RegisterTopLevelLocked(mixer);
      break;
    case Op::kSetPosition:
      if (Stream* s = AsStream(object)) {
        s->SetPosition(c.frame);
      } else {
        AsMixer(object)->position = 0;
      }
      break;
    case Op::kSetRate:
      ok = AsStream(object)->SetRate(c.rate);
      break;
    case Op::kSetVolume:
      object->volume = c.volume;
      break;
    case Op::kPlay: {
      Mixer* transport = TransportOf(object);
      if (Stream* s = AsStream(object)) {
        if (c.restart || s->Ended()) s->SetPosition(0);
      } else if (c.restart) {
        transport->position = 0;
      }
      transport->state = PlayState::kPlaying;
      break;
    }
    case Op::kPause: {
      Mixer* transport = TransportOf(object);
      if (transport->state == PlayState::kPlaying) transport->state = PlayState::kPaused;
      break;
    }
    case Op::kStop:
      TransportOf(object)->state = PlayState::kStopped;
      break;
    case Op::kAddSource: {
      Stream* source = AsStream(table_.Lookup(c.other));
      ok = source && !source->dead && source->kind() == StreamKind::kDecode &&
           AsMixer(object)->AddSource(source);
      break;
    }
    case Op::kRemoveSource: {
      Stream* source = AsStream(table_.Lookup(c.other));
      ok = source && !source->dead && AsMixer(object)->RemoveSource(source);
      if (ok) FreeLocked(source);
      break;
    }
    case Op::kAddSync:
      ok = AsStream(object)->syncs.Add(c.sync);
      break;
    case Op::kRemoveSync:
      ok = AsStream(object)->syncs.Remove(c.id);
      break;
    case Op::kAddVolumeEffect:
      ok = object->effects.AddVolume(c.id, c.ramp);
      break;
    case Op::kSetVolumeEffect:
      ok = object->effects.SetVolume(c.id, c.ramp);
      break;
    case Op::kAddHighPass:
      ok = object->effects.AddHighPass(c.id, c.high_pass);
      break;
    case Op::kAddDynamicAmp:
      ok = object->effects.AddDynamicAmp(c.id, c.dynamic_amp);
      break;
    case Op::kRemoveEffect:
      ok = object->effects.Remove(c.id);
      break;
  }
  if (!c.queued) PublishLocked(object);
  return ok;
}

}  // namespace tw::engine
