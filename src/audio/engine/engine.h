#ifndef TUNEWRIGHT_AUDIO_ENGINE_ENGINE_H_
#define TUNEWRIGHT_AUDIO_ENGINE_ENGINE_H_

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>

#include "audio/engine/channel_table.h"
#include "audio/engine/command_queue.h"
#include "audio/engine/decoder.h"
#include "audio/engine/engine_types.h"
#include "audio/engine/mixer.h"
#include "audio/engine/positions.h"

namespace tw::engine {

class EncoderSink;
class OutputDevice;
class SpectrumAnalyzer;
class Stream;
struct Command;

enum class EngineComponent { kNone, kResampler, kSpectrum, kEncoder, kOutput };

struct StartResult {
  EngineComponent failed = EngineComponent::kNone;
  std::string message;
  bool ok() const { return failed == EngineComponent::kNone; }
};

enum class OutputChoice {
  kFromEnvironment,  // TUNEWRIGHT_AUDIO=null selects the null device, anything else SDL
  kDevice,           // the default output device through SDL2
  kNull,             // a thread that pulls the mix at real-time pace and discards it
  kNone,             // nothing pulls the output; PullOutput may be called by hand
};

// The audio engine's façade: streams, mixers, syncs, effects, output, spectrum and encoders, all
// addressed by handles. A null or stale handle is harmless: every call on it fails without effect
// (false, 0 or a null handle).
//
// Threads. One render domain holds every stream, mixer, effect and sync. Its state is touched
// only by the thread that holds the domain: the output thread while it renders a block, or a
// thread rendering a decoding mixer (RenderDecoding). That thread is "the mixing thread"; sync
// callbacks run on it, and engine calls made there (detected by a thread-local flag) apply at
// once, so a change made in a sync takes effect from that very frame.
//
// Any other thread (main, workers) never touches that state. Its changing calls become commands
// in a preallocated queue, applied in order at the start of the mixing thread's next block (the
// output keeps pulling while mixers are paused or stopped); its reads come from snapshots the
// mixing thread publishes after every block, and a snapshot is also written at once by the call
// that changed it, so a thread reads back what it has just set. When no output runs, a changing
// call takes the domain and applies at once (no mixing thread can be disturbed then).
//
// The output thread only ever try-locks the domain: if another thread holds it (a decoding
// mixer being rendered, which happens during an export, when nothing plays), that block is
// silence and counted in OutputUnderruns(); it never waits. Rendering allocates nothing and does
// no file I/O: decoders hold their files in memory, freed objects are deleted later by a
// non-mixing thread, encoders write on their own thread.
//
// Why: a sync must change state at its own frame, so calls on the mixing thread cannot be
// deferred; calls from elsewhere must never make the mixing thread wait, so they cannot share a
// lock with it; and a reader must not wait either, hence the snapshots. A queued call returns
// whether it was valid when posted (live handle, sane value); a rare failure when it is applied
// (a full sync list, say) is then silent, like a call on a stale handle. Capacities: 48 syncs
// per stream, 32 effects per channel, 32 sources per mixer, 1024 channels, 4096 queued calls
// (a full queue makes the caller apply the backlog itself, taking the domain like a decoding
// render does).
//
// Each call below states its threads: "any" = any thread, including inside a sync; "not in a
// real-time sync" = any thread, and inside syncs of a decoding mixer, but not inside syncs that
// run on the output thread (the call reads files or waits).
class Engine : private RenderHost {
 public:
  Engine();
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Checks the engine's parts and starts the output. Main thread. Reports the first component
  // that failed (e.g. the output device), so the program can say what cannot be initialized.
  StartResult Start(OutputChoice output = OutputChoice::kFromEnvironment);
  // Stops the output; the engine stays usable with manual pulls. Main thread.
  void StopOutput();
  // Output blocks that were late or could not be rendered. Any thread.
  int64_t OutputUnderruns() const;
  // Renders the next `frames` of the summed real-time channels (interleaved stereo) — what the
  // output device calls. Output thread, or any thread when no output runs; never in a sync.
  void PullOutput(float* out, int64_t frames);

  // Streams. Not in a real-time sync. kDecode streams feed mixers or are read directly;
  // kPlayable streams sound by themselves when played.
  Channel CreateStream(const std::string& path, StreamKind kind, std::string* error = nullptr);
  Channel CreateStream(std::unique_ptr<Decoder> decoder, StreamKind kind);
  // 44100 Hz stereo. Not in a real-time sync. A playing mixer starts stopped, a decoding one
  // playing.
  Channel CreateMixer(MixerKind kind);
  // Frees a stream or a mixer (a mixer frees its sources and stops its encoder). Any.
  bool Free(Channel channel);

  // Positions. Reads: any. A mixer's position counts output frames; it can only be reset to 0.
  Frames Length(Channel stream) const;
  Frames Position(Channel channel) const;
  Bytes PositionBytes(Channel channel) const { return ToBytes(Position(channel)); }
  Bytes LengthBytes(Channel stream) const { return ToBytes(Length(stream)); }
  // Any. Sample-accurate; clamped to the length.
  bool SetPosition(Channel channel, Frames frame);
  bool SetPosition(Channel channel, Bytes byte) { return SetPosition(channel, ToFrames(byte)); }
  // At the stream's own sample rate (a mixer's is 44100). Any.
  int SampleRate(Channel channel) const;
  // The channel count of the file a stream decodes (streams always render stereo); 0 for a
  // mixer. Any.
  int FileChannels(Channel stream) const;
  Bytes SecondsToBytes(Channel channel, Seconds seconds) const;
  Seconds BytesToSeconds(Channel channel, Bytes bytes) const;

  // Attributes. Any. The rate is in Hz of source frames per second (the stream's own rate is
  // its own speed; tempo and pitch change together); volume is a linear gain.
  bool SetRate(Channel stream, double hz);
  double Rate(Channel stream) const;
  bool SetVolume(Channel channel, float volume);

  // Playback of playing mixers and playable streams (a decoding mixer only stops and resumes).
  // Any. Restart resets a mixer's position to 0 and a stream's to its start.
  bool Play(Channel channel, bool restart);
  bool Pause(Channel channel);
  bool Stop(Channel channel);
  // Any. A mixer source counts as playing until it ends or is removed.
  PlayState State(Channel channel) const;

  // Mixer sources. Any. The mixer takes the stream (a kDecode stream that sounds nowhere else)
  // without a ramp-in and frees it when it ends or is removed.
  bool AddSource(Channel mixer, Channel stream);
  bool RemoveSource(Channel mixer, Channel stream);
  // Renders the next `frames` of a decoding mixer into `out` (interleaved stereo floats) as fast
  // as possible and feeds its encoder; returns the frames the mixer played (0 once stopped).
  // Not in a sync (syncs run inside it).
  int64_t RenderDecoding(Channel mixer, float* out, int64_t frames);
  // Reads a kDecode stream that is not a mixer source at its own rate, without syncs; returns
  // the frames read. Not in a real-time sync; one reader at a time per stream.
  int64_t ReadFrames(Channel stream, float* out, int64_t frames);
  int64_t ReadFrames16(Channel stream, int16_t* out, int64_t frames);

  // Syncs, on a stream, in mixing time: a position sync fires when the read position reaches
  // `frame` (whatever the rate; also when playback starts exactly there), an end sync when the
  // stream reaches its end. Any.
  Sync SetPositionSync(Channel stream, Frames frame, SyncMode mode, SyncFn fn, int64_t user,
                       void* context = nullptr);
  Sync SetEndSync(Channel stream, SyncMode mode, SyncFn fn, int64_t user, void* context = nullptr);
  bool RemoveSync(Sync sync);

  // Effects, in the order added; on streams and mixers. Any.
  Effect AddVolumeEffect(Channel channel, const VolumeRamp& ramp);
  bool SetVolumeEffect(Effect effect, const VolumeRamp& ramp);
  Effect AddHighPass(Channel channel, const HighPassParams& params = {});
  Effect AddDynamicAmp(Channel channel, const DynamicAmpParams& params = {});
  bool RemoveEffect(Effect effect);

  // 1024 magnitudes of a 2048-point FFT (Hann window) of what a mixer sounded last; a full-scale
  // sine reads about 1 in its bin. Main thread or a worker; false when nothing was played yet.
  bool Spectrum(Channel mixer, std::array<float, 1024>* magnitudes);

  // Encodes every block rendered from a decoding mixer to a file, on a thread of its own.
  // Not in a sync. False with a message when the file cannot be created.
  bool StartEncoder(Channel mixer, EncoderFormat format, const std::string& path,
                    std::string* error = nullptr);
  // Finishes and closes the file. False with a message when writing failed at any point.
  // Not in a sync.
  bool StopEncoder(Channel mixer, std::string* error = nullptr);

  // Runs `fn(context)` holding the render domain, as the mixing thread would: no sync fires
  // meanwhile and every engine call made inside applies at once. For a change of several
  // channels that syncs must see whole or not at all (re-cueing a mix). The output renders
  // silence for a block it finds taken, so keep `fn` short and free of file I/O. Inside a sync
  // it simply runs. Not on the output thread outside a sync.
  void RunExclusive(void (*fn)(void* context), void* context);
  template <typename F>
  void Exclusive(F&& f) {
    RunExclusive([](void* c) { (*static_cast<std::remove_reference_t<F>*>(c))(); }, &f);
  }

  // Deletes freed objects, unless a block is being rendered right now (then the next call
  // does). Any thread; nothing happens inside a sync. Called by the engine's own creating and
  // freeing calls as well.
  void CollectGarbage();

 private:
  // RenderHost
  Engine* engine() override { return this; }
  void ReleaseEndedSource(Stream* stream) override;

  bool OnMixingThread() const;
  // Applies now when on the mixing thread or when no output runs; else queues.
  bool Submit(const Command& command);
  // On the mixing thread: carries a command out.
  bool Apply(const Command& command);
  // Off the mixing thread, before queueing: checks a command against the object (table mutex
  // held) and writes the snapshots it will change, so the caller reads its own change back.
  bool Preview(ChannelObject* object, const Command& command) const;
  void DrainLocked();
  void FreeLocked(ChannelObject* object);
  void PublishLocked(ChannelObject* object);
  void RegisterTopLevelLocked(Mixer* mixer);
  Channel RegisterObject(std::unique_ptr<ChannelObject> object, Mixer* top_level);
  // A reading call: `live` on the mixing thread, `shown` (snapshots, table mutex held) elsewhere.
  template <typename T, typename Live, typename Shown>
  T Read(Channel channel, T fallback, Live live, Shown shown) const;

  uint64_t NextId() { return next_id_.fetch_add(1, std::memory_order_relaxed); }

  mutable ChannelTable table_;
  std::mutex domain_;
  std::unique_ptr<CommandQueue<Command>> queue_;
  static constexpr int kMaxTopLevel = 64;
  std::array<Mixer*, kMaxTopLevel> top_level_{};  // playing mixers and playable streams' buses
  std::array<float, Mixer::kChunkFrames * 2> pull_scratch_{};
  std::atomic<uint64_t> next_id_{1};
  std::atomic<bool> output_running_{false};
  std::atomic<int64_t> contended_blocks_{0};
  std::unique_ptr<OutputDevice> output_;
  std::unique_ptr<SpectrumAnalyzer> analyzer_;
  std::mutex encoders_mutex_;
  std::map<uint64_t, std::unique_ptr<EncoderSink>> encoders_;
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_ENGINE_H_
