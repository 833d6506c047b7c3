#include "audio/engine/mixer.h"

#include <algorithm>

#include "audio/engine/stream.h"

namespace tw::engine {
namespace {

// A sync that keeps seeking onto a sync at its own frame would otherwise never let the frame be
// rendered; after this many rounds at one frame the remaining due syncs are passed over.
constexpr int kMaxDispatchRounds = 64;

}  // namespace

Mixer::Mixer(MixerKind kind, bool solo) : ChannelObject(Type::kMixer), kind_(kind), solo_(solo) {
  if (kind_ == MixerKind::kDecoding) state = PlayState::kPlaying;
  shown_state.store(static_cast<int>(state));
}

bool Mixer::AddSource(Stream* stream) {
  if (!stream || stream->owner || count_ >= kMaxSources) return false;
  sources_[count_++] = stream;
  stream->owner = this;
  return true;
}

bool Mixer::RemoveSource(Stream* stream) {
  for (int i = 0; i < count_; ++i) {
    if (sources_[i] != stream) continue;
    sources_[i] = nullptr;
    stream->owner = nullptr;
    if (!rendering_) Compact();
    return true;
  }
  return false;
}

int Mixer::SourceCount() const {
  int n = 0;
  for (int i = 0; i < count_; ++i) n += sources_[i] != nullptr;
  return n;
}

void Mixer::Compact() {
  int w = 0;
  for (int i = 0; i < count_; ++i) {
    if (sources_[i]) sources_[w++] = sources_[i];
  }
  for (int i = w; i < count_; ++i) sources_[i] = nullptr;
  count_ = w;
}

int64_t Mixer::Render(RenderHost& host, float* out, int64_t frames) {
  std::fill(out, out + 2 * frames, 0.0f);
  if (rendering_) return 0;  // a sync asked its own mixer to render
  rendering_ = true;
  int64_t done = 0;
  while (done < frames && state == PlayState::kPlaying) {
    DispatchEvents(host);
    if (state != PlayState::kPlaying) break;
    int64_t chunk = std::min(frames - done, kChunkFrames);
    for (int i = 0; i < count_; ++i) {
      Stream* s = sources_[i];
      if (s && !(solo_ && s->Ended())) chunk = std::min(chunk, s->FramesUntilEvent(chunk));
    }
    chunk = std::max<int64_t>(chunk, 1);
    float* dst = out + 2 * done;
    for (int i = 0; i < count_; ++i) {
      Stream* s = sources_[i];
      if (!s || s->Ended()) continue;
      s->Render(scratch_.data(), chunk);
      s->effects.Process(scratch_.data(), chunk);
      const float v = s->volume;
      for (int64_t k = 0; k < 2 * chunk; ++k) dst[k] += scratch_[k] * v;
    }
    effects.Process(dst, chunk);
    if (volume != 1.0f) {
      for (int64_t k = 0; k < 2 * chunk; ++k) dst[k] *= volume;
    }
    if (!solo_) spectrum.Push(dst, chunk);
    done += chunk;
    position += chunk;
  }
  Compact();
  rendering_ = false;
  return done;
}

void Mixer::DispatchEvents(RenderHost& host) {
  for (int round = 0; round < kMaxDispatchRounds; ++round) {
    bool fired = false;
    // Sources added by a callback join the scan at once (count_ is re-read).
    for (int i = 0; i < count_; ++i) {
      Stream* s = sources_[i];
      if (!s || (s->Ended() && s->end_fired) || s->FramesUntilEvent(1) != 0) continue;
      fired = true;
      s->DispatchDue(host.engine());
      if (sources_[i] != s || !s->Ended() || !s->end_fired) continue;
      if (solo_) {
        state = PlayState::kStopped;
      } else {
        sources_[i] = nullptr;
        s->owner = nullptr;
        host.ReleaseEndedSource(s);
      }
    }
    if (!fired) return;
  }
  // Passed over: a sync loop at one frame. Move every source past its due syncs.
  for (int i = 0; i < count_; ++i) {
    Stream* s = sources_[i];
    if (s && !s->Ended() && s->FramesUntilEvent(1) == 0) s->PassDueSyncs();
  }
}

}  // namespace tw::engine
