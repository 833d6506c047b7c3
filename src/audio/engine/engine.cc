#include "audio/engine/engine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "audio/engine/audio_file_writer.h"
#include "audio/engine/encoder_sink.h"
#include "audio/engine/engine_command.h"
#include "audio/engine/output_device.h"
#include "audio/engine/sinc_resampler.h"
#include "audio/engine/spectrum_analyzer.h"
#include "audio/engine/stream.h"

namespace tw::engine {
namespace {

// The engine whose render domain this thread holds, and whether this thread is the output's.
thread_local const Engine* t_domain_owner = nullptr;
thread_local bool t_realtime = false;

class DomainScope {
 public:
  DomainScope(const Engine* engine, bool realtime)
      : previous_(t_domain_owner), previous_realtime_(t_realtime) {
    t_domain_owner = engine;
    t_realtime = realtime;
  }
  ~DomainScope() {
    t_domain_owner = previous_;
    t_realtime = previous_realtime_;
  }

 private:
  const Engine* previous_;
  bool previous_realtime_;
};

constexpr size_t kQueueCapacity = 4096;

}  // namespace

Engine::Engine()
    : queue_(std::make_unique<CommandQueue<Command>>(kQueueCapacity)),
      analyzer_(std::make_unique<SpectrumAnalyzer>()) {}

Engine::~Engine() {
  StopOutput();
  {
    std::lock_guard<std::mutex> lock(encoders_mutex_);
    for (auto& [key, sink] : encoders_) sink->Finish(nullptr);
    encoders_.clear();
  }
  std::lock_guard<std::mutex> domain(domain_);
  DomainScope scope(this, false);
  DrainLocked();
  std::vector<ChannelObject*> live;
  {
    std::lock_guard<std::mutex> lock(table_.mutex());
    live = table_.Live();
  }
  for (ChannelObject* object : live) FreeLocked(object);
  std::lock_guard<std::mutex> lock(table_.mutex());
  table_.Collect();
}

StartResult Engine::Start(OutputChoice output) {
  StartResult result;
  for (int phase : {0, 128, 256, 511}) {
    if (std::abs(SincResampler::PhaseGain(phase) - 1.0) > 1e-4) {
      result.failed = EngineComponent::kResampler;
      result.message = "the resampler's kernel is not normalised";
      return result;
    }
  }
  if (!analyzer_->ok()) {
    result.failed = EngineComponent::kSpectrum;
    result.message = "the FFT plan cannot be made";
    return result;
  }
  if (!Mp3EncoderAvailable()) {
    result.failed = EngineComponent::kEncoder;
    result.message = "the MP3 encoder cannot be initialized";
    return result;
  }
  if (output == OutputChoice::kFromEnvironment) {
    const char* env = std::getenv("TUNEWRIGHT_AUDIO");
    output = env && std::strcmp(env, "null") == 0 ? OutputChoice::kNull : OutputChoice::kDevice;
  }
  if (output == OutputChoice::kNone || output_) return result;
  std::unique_ptr<OutputDevice> device =
      output == OutputChoice::kNull ? MakeNullOutput() : MakeSdlOutput();
  // The flag goes up first: from the first pull on, changes must go through the queue.
  output_running_ = true;
  std::string error;
  if (!device->Start([this](float* out, int64_t frames) { PullOutput(out, frames); }, &error)) {
    output_running_ = false;
    result.failed = EngineComponent::kOutput;
    result.message = error;
    return result;
  }
  output_ = std::move(device);
  return result;
}

void Engine::StopOutput() {
  if (!output_) return;
  output_->Stop();
  output_.reset();
  output_running_ = false;
}

int64_t Engine::OutputUnderruns() const {
  return contended_blocks_.load() + (output_ ? output_->Underruns() : 0);
}

bool Engine::OnMixingThread() const { return t_domain_owner == this; }

void Engine::PullOutput(float* out, int64_t frames) {
  std::fill(out, out + 2 * frames, 0.0f);
  if (OnMixingThread()) return;
  if (!domain_.try_lock()) {
    contended_blocks_.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  {
    DomainScope scope(this, output_running_.load());
    DrainLocked();
    for (int64_t done = 0; done < frames;) {
      const int64_t n = std::min(frames - done, Mixer::kChunkFrames);
      for (Mixer*& mixer : top_level_) {
        if (!mixer || mixer->state != PlayState::kPlaying) continue;
        const int64_t played = mixer->Render(*this, pull_scratch_.data(), n);
        float* dst = out + 2 * done;
        for (int64_t k = 0; k < 2 * played; ++k) dst[k] += pull_scratch_[k];
      }
      done += n;
    }
    for (Mixer* mixer : top_level_) {
      if (mixer) PublishLocked(mixer);
    }
  }
  domain_.unlock();
}

Channel Engine::CreateStream(const std::string& path, StreamKind kind, std::string* error) {
  if (OnMixingThread() && t_realtime) {
    if (error) *error = "streams cannot be opened on the output thread";
    return Channel{};
  }
  std::unique_ptr<Decoder> decoder = OpenDecoder(path, error);
  if (!decoder) return Channel{};
  return CreateStream(std::move(decoder), kind);
}

Channel Engine::CreateStream(std::unique_ptr<Decoder> decoder, StreamKind kind) {
  if (!decoder || (OnMixingThread() && t_realtime)) return Channel{};
  auto stream = std::make_unique<Stream>(std::move(decoder), kind);
  Mixer* bus = nullptr;
  if (kind == StreamKind::kPlayable) {
    stream->bus = std::make_unique<Mixer>(MixerKind::kPlaying, /*solo=*/true);
    bus = stream->bus.get();
    bus->AddSource(stream.get());
  }
  return RegisterObject(std::move(stream), bus);
}

Channel Engine::CreateMixer(MixerKind kind) {
  if (OnMixingThread() && t_realtime) return Channel{};
  auto mixer = std::make_unique<Mixer>(kind, /*solo=*/false);
  Mixer* top = kind == MixerKind::kPlaying ? mixer.get() : nullptr;
  return RegisterObject(std::move(mixer), top);
}

Channel Engine::RegisterObject(std::unique_ptr<ChannelObject> object, Mixer* top_level) {
  CollectGarbage();
  Channel handle;
  {
    std::lock_guard<std::mutex> lock(table_.mutex());
    handle = table_.Register(std::move(object));
  }
  if (handle && top_level) {
    Command command;
    command.op = Command::Op::kRegisterTopLevel;
    command.target = handle;
    if (!Submit(command)) {
      Free(handle);
      return Channel{};
    }
  }
  return handle;
}

bool Engine::Free(Channel channel) {
  if (!OnMixingThread()) {
    std::unique_ptr<EncoderSink> sink;
    {
      std::lock_guard<std::mutex> lock(encoders_mutex_);
      auto it = encoders_.find(channel.value);
      if (it != encoders_.end()) {
        sink = std::move(it->second);
        encoders_.erase(it);
      }
    }
    if (sink) sink->Finish(nullptr);
  }
  Command command;
  command.op = Command::Op::kFree;
  command.target = channel;
  const bool ok = Submit(command);
  if (!OnMixingThread()) CollectGarbage();
  return ok;
}

void Engine::CollectGarbage() {
  // A freed object may still be under the renderer's feet (a sync that frees its own stream
  // returns into that stream's dispatch), so garbage goes only while nobody renders.
  if (OnMixingThread() || !domain_.try_lock()) return;
  {
    std::lock_guard<std::mutex> lock(table_.mutex());
    table_.Collect();
  }
  domain_.unlock();
}

bool Engine::Submit(const Command& command) {
  if (OnMixingThread()) return Apply(command);
  if (output_running_.load()) {
    Command queued = command;
    queued.queued = true;
    ChannelObject* target = nullptr;
    {
      std::lock_guard<std::mutex> lock(table_.mutex());
      target = table_.Lookup(command.target);
      if (!target || !Preview(target, command)) return false;
      target->pending.fetch_add(1);
      if (queue_->Push(queued)) return true;
      target->pending.fetch_sub(1);
    }
  }
  // No output runs (nothing to disturb), or the queue is full: apply it here, in order.
  std::lock_guard<std::mutex> lock(domain_);
  DomainScope scope(this, false);
  DrainLocked();
  return Apply(command);
}

void Engine::DrainLocked() {
  Command command;
  while (queue_->Pop(&command)) {
    Apply(command);
    if (command.queued) {
      if (ChannelObject* object = table_.Lookup(command.target)) {
        object->pending.fetch_sub(1);
        PublishLocked(object);
      }
    }
  }
}

void Engine::PublishLocked(ChannelObject* object) {
  if (object->type() == ChannelObject::Type::kMixer) {
    auto* mixer = static_cast<Mixer*>(object);
    if (mixer->solo()) {
      if (Stream* s = mixer->SourceAt(0)) PublishLocked(s);
      return;
    }
    if (mixer->pending.load(std::memory_order_relaxed) == 0) {
      mixer->shown_position.store(mixer->position, std::memory_order_relaxed);
      mixer->shown_state.store(static_cast<int>(mixer->state), std::memory_order_relaxed);
    }
    for (int i = 0; i < Mixer::kMaxSources; ++i) {
      if (Stream* s = mixer->SourceAt(i)) PublishLocked(s);
    }
    return;
  }
  auto* stream = static_cast<Stream*>(object);
  if (stream->pending.load(std::memory_order_relaxed) != 0) return;
  stream->shown_position.store(stream->PositionFrames(), std::memory_order_relaxed);
  stream->shown_rate.store(stream->Rate(), std::memory_order_relaxed);
  PlayState state = PlayState::kStopped;
  if (stream->bus) {
    state = stream->bus->state;
  } else if (stream->owner && !stream->Ended()) {
    state = PlayState::kPlaying;
  }
  stream->shown_state.store(static_cast<int>(state), std::memory_order_relaxed);
}

void Engine::RegisterTopLevelLocked(Mixer* mixer) {
  for (Mixer*& slot : top_level_) {
    if (!slot) {
      slot = mixer;
      return;
    }
  }
}

void Engine::FreeLocked(ChannelObject* object) {
  if (!object || object->dead) return;
  Mixer* top = nullptr;
  if (object->type() == ChannelObject::Type::kStream) {
    auto* stream = static_cast<Stream*>(object);
    if (stream->bus) {
      top = stream->bus.get();
    } else if (stream->owner) {
      stream->owner->RemoveSource(stream);
    }
  } else {
    auto* mixer = static_cast<Mixer*>(object);
    top = mixer;
    for (int i = 0; i < Mixer::kMaxSources; ++i) {
      Stream* s = mixer->SourceAt(i);
      if (!s) continue;
      mixer->RemoveSource(s);
      FreeLocked(s);
    }
    mixer->state = PlayState::kStopped;
  }
  for (Mixer*& slot : top_level_) {
    if (slot == top) slot = nullptr;
  }
  object->shown_state.store(static_cast<int>(PlayState::kStopped));
  table_.Retire(object);
}

void Engine::RunExclusive(void (*fn)(void*), void* context) {
  if (OnMixingThread()) {
    fn(context);
    return;
  }
  std::lock_guard<std::mutex> lock(domain_);
  DomainScope scope(this, false);
  DrainLocked();
  fn(context);
  for (Mixer* mixer : top_level_) {
    if (mixer) PublishLocked(mixer);
  }
}

void Engine::ReleaseEndedSource(Stream* stream) { FreeLocked(stream); }

int64_t Engine::RenderDecoding(Channel mixer_handle, float* out, int64_t frames) {
  if (frames <= 0 || !out) return 0;
  if (OnMixingThread()) {
    std::fill(out, out + 2 * frames, 0.0f);
    return 0;
  }
  int64_t played = 0;
  {
    std::lock_guard<std::mutex> lock(domain_);
    DomainScope scope(this, false);
    DrainLocked();
    ChannelObject* object = table_.Lookup(mixer_handle);
    auto* mixer = object && object->type() == ChannelObject::Type::kMixer
                      ? static_cast<Mixer*>(object)
                      : nullptr;
    if (!mixer || mixer->kind() != MixerKind::kDecoding) {
      std::fill(out, out + 2 * frames, 0.0f);
      return 0;
    }
    played = mixer->Render(*this, out, frames);
    PublishLocked(mixer);
  }
  if (played > 0) {
    std::lock_guard<std::mutex> lock(encoders_mutex_);
    auto it = encoders_.find(mixer_handle.value);
    if (it != encoders_.end()) it->second->Push(out, played);
  }
  return played;
}

int64_t Engine::ReadFrames(Channel stream_handle, float* out, int64_t frames) {
  if (frames <= 0 || !out || (OnMixingThread() && t_realtime)) return 0;
  if (!OnMixingThread()) {
    // Earlier changes (a position set just before) apply first.
    std::lock_guard<std::mutex> lock(domain_);
    DomainScope scope(this, false);
    DrainLocked();
  }
  // The table mutex keeps the stream from being deleted while it is read.
  std::unique_lock<std::mutex> lock(table_.mutex(), std::defer_lock);
  if (!OnMixingThread()) lock.lock();
  ChannelObject* object = table_.Lookup(stream_handle);
  if (!object || object->type() != ChannelObject::Type::kStream) return 0;
  auto* stream = static_cast<Stream*>(object);
  if (stream->kind() != StreamKind::kDecode || stream->owner) return 0;
  const int64_t read = stream->ReadDirect(out, frames);
  if (stream->pending.load() == 0) stream->shown_position.store(stream->PositionFrames());
  return read;
}

int64_t Engine::ReadFrames16(Channel stream, int16_t* out, int64_t frames) {
  if (frames <= 0 || !out) return 0;
  float block[2048 * 2];
  int64_t done = 0;
  while (done < frames) {
    const int64_t n = ReadFrames(stream, block, std::min<int64_t>(2048, frames - done));
    if (n <= 0) break;
    for (int64_t i = 0; i < 2 * n; ++i) {
      const float v = std::clamp(block[i], -1.0f, 1.0f) * 32767.0f;
      out[2 * done + i] = static_cast<int16_t>(std::lrint(v));
    }
    done += n;
  }
  return done;
}

bool Engine::Spectrum(Channel mixer_handle, std::array<float, 1024>* magnitudes) {
  if (!magnitudes || OnMixingThread()) return false;
  std::array<float, SpectrumAnalyzer::kSize> samples;
  {
    std::lock_guard<std::mutex> lock(table_.mutex());
    ChannelObject* object = table_.Lookup(mixer_handle);
    if (!object || object->type() != ChannelObject::Type::kMixer) return false;
    if (!static_cast<Mixer*>(object)->spectrum.Latest(samples.data(), SpectrumAnalyzer::kSize)) {
      return false;
    }
  }
  return analyzer_->Analyze(samples.data(), magnitudes);
}

bool Engine::StartEncoder(Channel mixer_handle, EncoderFormat format, const std::string& path,
                          std::string* error) {
  if (OnMixingThread()) {
    if (error) *error = "an encoder cannot be started inside a sync";
    return false;
  }
  {
    std::lock_guard<std::mutex> lock(table_.mutex());
    ChannelObject* object = table_.Lookup(mixer_handle);
    if (!object || object->type() != ChannelObject::Type::kMixer ||
        static_cast<Mixer*>(object)->kind() != MixerKind::kDecoding) {
      if (error) *error = "an encoder needs a decoding mixer";
      return false;
    }
  }
  std::unique_ptr<EncoderSink> sink = EncoderSink::Open(format, path, error);
  if (!sink) return false;
  std::unique_ptr<EncoderSink> previous;
  {
    std::lock_guard<std::mutex> lock(encoders_mutex_);
    previous = std::move(encoders_[mixer_handle.value]);
    encoders_[mixer_handle.value] = std::move(sink);
  }
  if (previous) previous->Finish(nullptr);
  return true;
}

bool Engine::StopEncoder(Channel mixer_handle, std::string* error) {
  if (OnMixingThread()) return false;
  std::unique_ptr<EncoderSink> sink;
  {
    std::lock_guard<std::mutex> lock(encoders_mutex_);
    auto it = encoders_.find(mixer_handle.value);
    if (it == encoders_.end()) {
      if (error) *error = "no encoder runs on this mixer";
      return false;
    }
    sink = std::move(it->second);
    encoders_.erase(it);
  }
  return sink->Finish(error);
}

}  // namespace tw::engine
