// The engine's per-channel calls: positions, attributes, transport, sources, syncs, effects.
#include <cmath>

#include "audio/engine/engine.h"
#include "audio/engine/engine_command.h"
#include "audio/engine/stream.h"

namespace tw::engine {
namespace {

Command Make(Command::Op op, Channel target) {
  Command c;
  c.op = op;
  c.target = target;
  return c;
}

const Stream* AsStream(const ChannelObject* object) {
  return object && object->type() == ChannelObject::Type::kStream
             ? static_cast<const Stream*>(object)
             : nullptr;
}

const Mixer* AsMixer(const ChannelObject* object) {
  return object && object->type() == ChannelObject::Type::kMixer ? static_cast<const Mixer*>(object)
                                                                 : nullptr;
}

}  // namespace

template <typename T, typename Live, typename Shown>
T Engine::Read(Channel channel, T fallback, Live live, Shown shown) const {
  if (OnMixingThread()) {
    const ChannelObject* object = table_.Lookup(channel);
    return object && !object->dead ? live(object) : fallback;
  }
  std::lock_guard<std::mutex> lock(table_.mutex());
  const ChannelObject* object = table_.Lookup(channel);
  return object ? shown(object) : fallback;
}

Frames Engine::Length(Channel stream) const {
  auto length = [](const ChannelObject* o) {
    const Stream* s = AsStream(o);
    return Frames(s ? s->LengthFrames() : 0);
  };
  return Read(stream, Frames(0), length, length);
}

Frames Engine::Position(Channel channel) const {
  return Read(
      channel, Frames(0),
      [](const ChannelObject* o) {
        if (const Stream* s = AsStream(o)) return Frames(s->PositionFrames());
        return Frames(AsMixer(o)->position);
      },
      [](const ChannelObject* o) { return Frames(o->shown_position.load()); });
}

int Engine::SampleRate(Channel channel) const {
  auto rate = [](const ChannelObject* o) {
    const Stream* s = AsStream(o);
    return s ? s->SampleRate() : kMixRate;
  };
  return Read(channel, 0, rate, rate);
}

int Engine::FileChannels(Channel stream) const {
  auto channels = [](const ChannelObject* o) {
    const Stream* s = AsStream(o);
    return s ? s->DecoderChannels() : 0;
  };
  return Read(stream, 0, channels, channels);
}

Bytes Engine::SecondsToBytes(Channel channel, Seconds seconds) const {
  const int rate = SampleRate(channel);
  return rate > 0 ? ToBytes(seconds, rate) : Bytes(0);
}

Seconds Engine::BytesToSeconds(Channel channel, Bytes bytes) const {
  const int rate = SampleRate(channel);
  return rate > 0 ? ToSeconds(bytes, rate) : Seconds(0);
}

double Engine::Rate(Channel stream) const {
  return Read(
      stream, 0.0,
      [](const ChannelObject* o) {
        const Stream* s = AsStream(o);
        return s ? s->Rate() : 0.0;
      },
      [](const ChannelObject* o) { return AsStream(o) ? o->shown_rate.load() : 0.0; });
}

PlayState Engine::State(Channel channel) const {
  return Read(
      channel, PlayState::kStopped,
      [](const ChannelObject* o) {
        if (const Mixer* m = AsMixer(o)) return m->state;
        const Stream* s = AsStream(o);
        if (s->bus) return s->bus->state;
        return s->owner && !s->Ended() ? PlayState::kPlaying : PlayState::kStopped;
      },
      [](const ChannelObject* o) { return static_cast<PlayState>(o->shown_state.load()); });
}

bool Engine::SetPosition(Channel channel, Frames frame) {
  Command c = Make(Command::Op::kSetPosition, channel);
  c.frame = frame.value;
  return Submit(c);
}

bool Engine::SetRate(Channel stream, double hz) {
  if (!(hz > 0.0) || !std::isfinite(hz)) return false;
  Command c = Make(Command::Op::kSetRate, stream);
  c.rate = hz;
  return Submit(c);
}

bool Engine::SetVolume(Channel channel, float volume) {
  Command c = Make(Command::Op::kSetVolume, channel);
  c.volume = volume;
  return Submit(c);
}

bool Engine::Play(Channel channel, bool restart) {
  Command c = Make(Command::Op::kPlay, channel);
  c.restart = restart;
  return Submit(c);
}

bool Engine::Pause(Channel channel) { return Submit(Make(Command::Op::kPause, channel)); }

bool Engine::Stop(Channel channel) { return Submit(Make(Command::Op::kStop, channel)); }

bool Engine::AddSource(Channel mixer, Channel stream) {
  Command c = Make(Command::Op::kAddSource, mixer);
  c.other = stream;
  return Submit(c);
}

bool Engine::RemoveSource(Channel mixer, Channel stream) {
  Command c = Make(Command::Op::kRemoveSource, mixer);
  c.other = stream;
  return Submit(c);
}

Sync Engine::SetPositionSync(Channel stream, Frames frame, SyncMode mode, SyncFn fn, int64_t user,
                             void* context) {
  if (!fn) return Sync{};
  Command c = Make(Command::Op::kAddSync, stream);
  c.sync.id = NextId();
  c.sync.at_end = false;
  c.sync.mode = mode;
  c.sync.frame = frame.value;
  c.sync.fn = fn;
  c.sync.context = context;
  c.sync.user = user;
  return Submit(c) ? Sync{stream, c.sync.id} : Sync{};
}

Sync Engine::SetEndSync(Channel stream, SyncMode mode, SyncFn fn, int64_t user, void* context) {
  if (!fn) return Sync{};
  Command c = Make(Command::Op::kAddSync, stream);
  c.sync.id = NextId();
  c.sync.at_end = true;
  c.sync.mode = mode;
  c.sync.fn = fn;
  c.sync.context = context;
  c.sync.user = user;
  return Submit(c) ? Sync{stream, c.sync.id} : Sync{};
}

bool Engine::RemoveSync(Sync sync) {
  if (!sync) return false;
  Command c = Make(Command::Op::kRemoveSync, sync.channel);
  c.id = sync.id;
  return Submit(c);
}

Effect Engine::AddVolumeEffect(Channel channel, const VolumeRamp& ramp) {
  Command c = Make(Command::Op::kAddVolumeEffect, channel);
  c.id = NextId();
  c.ramp = ramp;
  return Submit(c) ? Effect{channel, c.id} : Effect{};
}

bool Engine::SetVolumeEffect(Effect effect, const VolumeRamp& ramp) {
  if (!effect) return false;
  Command c = Make(Command::Op::kSetVolumeEffect, effect.channel);
  c.id = effect.id;
  c.ramp = ramp;
  return Submit(c);
}

Effect Engine::AddHighPass(Channel channel, const HighPassParams& params) {
  Command c = Make(Command::Op::kAddHighPass, channel);
  c.id = NextId();
  c.high_pass = params;
  return Submit(c) ? Effect{channel, c.id} : Effect{};
}

Effect Engine::AddDynamicAmp(Channel channel, const DynamicAmpParams& params) {
  Command c = Make(Command::Op::kAddDynamicAmp, channel);
  c.id = NextId();
  c.dynamic_amp = params;
  return Submit(c) ? Effect{channel, c.id} : Effect{};
}

bool Engine::RemoveEffect(Effect effect) {
  if (!effect) return false;
  Command c = Make(Command::Op::kRemoveEffect, effect.channel);
  c.id = effect.id;
  return Submit(c);
}

}  // namespace tw::engine
