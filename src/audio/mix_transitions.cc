// The scheduler's syncs. They run on the mixing thread at the exact frame of their marker, so
// they only change engine state and the scheduler's counters; nothing here waits, allocates or
// reads a file (except the inline preparation of an export, whose pump is no real-time thread).
#include <cmath>

#include "audio/mix_scheduler.h"
#include "playlist/beat_grid.h"

namespace tw {
namespace {

// Every sync marks the scheduler busy while it runs, so the display skips that refresh.
class BusyScope {
 public:
  explicit BusyScope(std::atomic<int>& busy) : busy_(busy) { busy_.fetch_add(1); }
  ~BusyScope() { busy_.fetch_sub(1); }

 private:
  std::atomic<int>& busy_;
};

MixScheduler& Self(const engine::SyncEvent& e) { return *static_cast<MixScheduler*>(e.context); }

float BreakLength(const PlaylistEntry& e) {
  return SectionLength(e.breakstart, e.breakend, e.breakloopstart, e.breakloopend,
                       e.breaklooprepeat);
}

float IntroLength(const PlaylistEntry& e) {
  return SectionLength(e.introstart, e.introend, e.introloopstart, e.introloopend,
                       e.introlooprepeat);
}

bool HasBreakLoop(const PlaylistEntry& e) { return e.breakloopstart > 0 && e.breakloopend > 0; }

bool FiltersCurrent(BeatFilter f) { return f == BeatFilter::kCurrent || f == BeatFilter::kBoth; }
bool FiltersNext(BeatFilter f) { return f == BeatFilter::kNext || f == BeatFilter::kBoth; }

// The user value of a beat sync: the current song's frequency, and the pass of its break loop
// the beat belongs to.
int64_t BeatUser(int64_t frequency, int pass) {
  return (static_cast<int64_t>(pass) << 32) | (frequency & 0xffffffff);
}

}  // namespace

void MixScheduler::OnSkipStart(const engine::SyncEvent& e) {
  BusyScope busy(Self(e).busy_);
  e.engine->SetPosition(e.channel, engine::Frames(e.user));
}

void MixScheduler::OnBreakMute(const engine::SyncEvent& e) {
  MixScheduler& self = Self(e);
  BusyScope busy(self.busy_);
  self.SetLevel(e.channel, 0.0f, -1.0f, 0.0);
}

void MixScheduler::OnBreakLoopEnd(const engine::SyncEvent& e) {
  MixScheduler& self = Self(e);
  BusyScope busy(self.busy_);
  if (self.break_loop_count_ < self.Current().entry.breaklooprepeat) {
    e.engine->SetPosition(e.channel, engine::Frames(e.user));
    ++self.break_loop_count_;
    if (self.beat_deferred_) {
      self.beat_deferred_ = false;
      e.engine->SetPositionSync(e.channel, self.pending_beat_frame_, engine::SyncMode::kOnce,
                                &OnBeat, self.pending_beat_user_, &self);
    }
  }
}

void MixScheduler::OnPrestart(const engine::SyncEvent& e) {
  MixScheduler& self = Self(e);
  BusyScope busy(self.busy_);
  const MixSlot& b = self.Next();
  e.engine->SetPosition(b.stream, self.At(b.stream, b.entry.introstart - b.entry.introprefix));
  e.engine->SetRate(b.stream, static_cast<double>(e.user));
  e.engine->AddSource(self.mixer(), b.stream);
  self.mixing_.store(true);
}

void MixScheduler::OnBreakStart(const engine::SyncEvent& e) {
  MixScheduler& self = Self(e);
  BusyScope busy(self.busy_);
  self.BreakStart();
}

void MixScheduler::BreakStart() {
  MixSlot& a = Current();
  MixSlot& b = Next();
  const PlaylistEntry& ae = a.entry;
  const PlaylistEntry& be = b.entry;
  const float overlap_end = ae.breakend + ae.breakcontinue - 0.025f;
  engine_.SetPosition(b.stream, At(b.stream, be.introstart));

  float next_level = 1.0f;
  const float current_level = 1.0f;
  const float intro_length = IntroLength(be);
  const float break_length = BreakLength(ae);
  const auto filter = static_cast<BeatFilter>(beat_filter_.load());
  const int cur = current_.load(std::memory_order_relaxed);
  if (ae.breakbeats && be.introbeats) {
    if (FiltersCurrent(filter)) {
      filter_fx_[cur] = engine_.AddHighPass(a.stream);
      next_level = 0.9f;
    }
    if (FiltersNext(filter)) filter_fx_[1 - cur] = engine_.AddHighPass(b.stream);
  }
  if (!be.introfade) {
    SetLevel(b.stream, next_level, -1.0f, 0.0);
  } else {
    SetLevel(b.stream, next_level, 0.0f, intro_length);
  }
  if (!ae.breakfade) {
    SetLevel(a.stream, current_level, -1.0f, 0.0);
  } else {
    SetLevel(a.stream, 0.0f, current_level, break_length);
  }
  engine_.SetPositionSync(a.stream, At(a.stream, overlap_end), engine::SyncMode::kPermanent,
                          &OnOverlapEnd, 0, this);
  if (!prestarted_) engine_.AddSource(mixer(), b.stream);
  if (be.introloopstart + be.introloopend > 0) {
    intro_loop_count_ = 0;
    engine_.SetPositionSync(b.stream, At(b.stream, be.introloopend), engine::SyncMode::kPermanent,
                            &OnIntroLoopEnd, At(b.stream, be.introloopstart).value, this);
  }
  mixing_.store(true);
}

void MixScheduler::OnBeat(const engine::SyncEvent& e) {
  MixScheduler& self = Self(e);
  BusyScope busy(self.busy_);
  self.Beat(e);
}

void MixScheduler::Beat(const engine::SyncEvent& e) {
  const MixSlot& a = Current();
  const MixSlot& b = Next();
  const int64_t frequency = e.user & 0xffffffff;
  const int pass = static_cast<int>(e.user >> 32);
  // A beat that lies in a later pass of the break loop than the one playing comes back when
  // the loop jumps (OnBreakLoopEnd arms it again).
  if (HasBreakLoop(a.entry) && pass > break_loop_count_) {
    beat_deferred_ = true;
    return;
  }
  const int k = beat_count_;
  const float ic = a.break_beats[k + 1] - a.break_beats[k];
  const float in = b.intro_beats[k + 1] - b.intro_beats[k];
  // Two equal beats have no tempo: keep the rate the last beat gave and go on at the next one.
  float interval = ic;
  if (ic > 0) {
    engine_.SetRate(b.stream, static_cast<double>(in) / ic * static_cast<double>(frequency));
    last_interval_ = ic;
  } else {
    interval = last_interval_ > 0 ? last_interval_ : BreakLength(a.entry) / kSectionBeats;
  }
  if (k < 30) {
    ++beat_count_;
    ArmBeat(k + 1, frequency, interval);
  }
}

// Arms the beat `k` intervals after the break start, counted in the break's own time: with a
// break loop, that time runs through the loop's repeats, so the beat may lie in a later pass.
void MixScheduler::ArmBeat(int k, int64_t frequency, float interval) {
  const PlaylistEntry& ae = Current().entry;
  const engine::Channel s = Current().stream;
  float at = ae.breakstart + static_cast<float>(k) * interval;
  int pass = 0;
  if (HasBreakLoop(ae) && ae.breakloopend > ae.breakloopstart) {
    const float loop = ae.breakloopend - ae.breakloopstart;
    while (at >= ae.breakloopend && pass < ae.breaklooprepeat) {
      at -= loop;
      ++pass;
    }
  }
  pending_beat_frame_ = At(s, at);
  pending_beat_user_ = BeatUser(frequency, pass);
  engine_.SetPositionSync(s, pending_beat_frame_, engine::SyncMode::kOnce, &OnBeat,
                          pending_beat_user_, this);
}

void MixScheduler::OnIntroLoopEnd(const engine::SyncEvent& e) {
  MixScheduler& self = Self(e);
  BusyScope busy(self.busy_);
  // The song whose intro this is: the next one during the transition.
  const MixSlot& b = self.Current().stream == e.channel ? self.Current() : self.Next();
  if (self.intro_loop_count_ < b.entry.introlooprepeat) {
    e.engine->SetPosition(e.channel, engine::Frames(e.user));
    ++self.intro_loop_count_;
  }
}

void MixScheduler::OnOverlapEnd(const engine::SyncEvent& e) {
  MixScheduler& self = Self(e);
  BusyScope busy(self.busy_);
  self.OverlapEnd();
}

void MixScheduler::OverlapEnd() {
  MixSlot& a = Current();
  MixSlot& b = Next();
  const PlaylistEntry& ae = a.entry;
  if (HasBreakLoop(ae) && break_loop_count_ < ae.breaklooprepeat) return;
  const int cur = current_.load(std::memory_order_relaxed);
  if (ae.breakbeats && b.entry.introbeats) {
    const auto filter = static_cast<BeatFilter>(beat_filter_.load());
    if (FiltersCurrent(filter)) engine_.RemoveEffect(filter_fx_[cur]);
    if (FiltersNext(filter)) engine_.RemoveEffect(filter_fx_[1 - cur]);
  }
  filter_fx_ = {};
  engine_.RemoveSource(mixer(), a.stream);
  SetLevel(b.stream, 1.0f, -1.0f, 0.0);
  engine_.SetRate(b.stream, static_cast<double>(b.entry.frequency));
  const int64_t ended_track = ae.track;
  const bool goes_on = ended_track < entry_count_.load() && b.stream;
  current_.store(1 - cur);
  // At the end of the mix the progress stays on the last song.
  if (goes_on) current_track_.store(b.entry.track);
  if (goes_on) {
    if (inline_preparation_.load()) {
      PrepareNextSong();
    } else {
      request_.store(generation_.load());
      request_.notify_one();
    }
  } else {
    StopMix(QString());
  }
  mixing_.store(false);
}

void MixScheduler::OnStreamEnd(const engine::SyncEvent& e) {
  MixScheduler& self = Self(e);
  BusyScope busy(self.busy_);
  if (self.Current().stream != e.channel) return;
  if (self.mixing_.load()) {
    self.break_loop_count_ = static_cast<int>(self.Current().entry.breaklooprepeat);
    self.OverlapEnd();
  } else {
    self.StopMix(QString());
  }
}

void MixScheduler::OnFadeOutStart(const engine::SyncEvent& e) {
  MixScheduler& self = Self(e);
  BusyScope busy(self.busy_);
  const PlaylistEntry& ae = self.Current().entry;
  self.SetLevel(e.channel, 0.0f, -1.0f, std::max(0.0f, BreakLength(ae) - 1.0f));
  self.fading_.store(true);
}

}  // namespace tw
