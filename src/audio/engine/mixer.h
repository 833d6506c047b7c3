#ifndef TUNEWRIGHT_AUDIO_ENGINE_MIXER_H_
#define TUNEWRIGHT_AUDIO_ENGINE_MIXER_H_

#include <array>
#include <cstdint>

#include "audio/engine/channel_object.h"
#include "audio/engine/spectrum_ring.h"

namespace tw::engine {

class Stream;

// What a mixer needs from its owner while it renders.
class RenderHost {
 public:
  virtual Engine* engine() = 0;
  // A source that ended: the host frees it (the mixer has already detached it).
  virtual void ReleaseEndedSource(Stream* stream) = 0;

 protected:
  ~RenderHost() = default;
};

// Sums its sources at 44100 Hz stereo. Rendering is split at every frame where a source's sync
// falls due, so whatever a sync changes (a position, a rate, a source added or removed, an
// effect) applies from exactly that frame.
class Mixer : public ChannelObject {
 public:
  static constexpr int kMaxSources = 32;
  static constexpr int64_t kChunkFrames = 1024;

  // A solo mixer is the private bus of one playable stream: at the end its source stops and
  // stays, instead of being freed.
  Mixer(MixerKind kind, bool solo);

  MixerKind kind() const { return kind_; }
  bool solo() const { return solo_; }

  // The mixer takes the stream; false when it is full or the stream sounds elsewhere.
  bool AddSource(Stream* stream);
  // Detaches the stream; false when it is not a source of this mixer.
  bool RemoveSource(Stream* stream);
  int SourceCount() const;
  Stream* SourceAt(int index) const { return index < count_ ? sources_[index] : nullptr; }

  // Renders up to `frames` frames into `out` (overwritten; silence where nothing plays) and
  // returns how many frames the mixer played: fewer when a sync stopped or paused it.
  int64_t Render(RenderHost& host, float* out, int64_t frames);

  PlayState state = PlayState::kStopped;
  int64_t position = 0;  // output frames since creation or the last reset
  SpectrumRing spectrum;

 private:
  void DispatchEvents(RenderHost& host);
  void Compact();

  MixerKind kind_;
  bool solo_;
  bool rendering_ = false;
  std::array<Stream*, kMaxSources> sources_{};
  int count_ = 0;
  std::array<float, kChunkFrames * 2> scratch_{};
};

}  // namespace tw::engine

#endif  // TUNEWRIGHT_AUDIO_ENGINE_MIXER_H_
