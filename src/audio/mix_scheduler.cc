#include "audio/mix_scheduler.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "data/dialogs.h"
#include "data/marker_text.h"
#include "playlist/playlist_files.h"

namespace tw {
namespace {

void ReadBeatList(const QString& text, std::array<float, 32>* beats) {
  const QStringList lines = text.split('\n');
  for (size_t k = 0; k < beats->size(); ++k) {
    (*beats)[k] = static_cast<int>(k) < lines.size() ? MarkerSeconds(lines.at(k)) : 0.0f;
  }
}

}  // namespace

BeatFilter BeatFilterFromText(const QString& text) {
  if (text == "Current song") return BeatFilter::kCurrent;
  if (text == "Next song") return BeatFilter::kNext;
  if (text == "Both songs") return BeatFilter::kBoth;
  return BeatFilter::kNone;
}

MixScheduler::MixScheduler(engine::Engine& engine, Playlist& playlist, MixHost& host)
    : engine_(engine), playlist_(playlist), host_(host) {
  worker_ = std::thread([this] { WorkerLoop(); });
}

MixScheduler::~MixScheduler() {
  quit_.store(true);
  request_.store(~uint64_t{0});
  request_.notify_one();
  worker_.join();
}

void MixScheduler::SetMixer(engine::Channel mixer) { mixer_.store(mixer.value); }

void MixScheduler::SetAudioFolder(const QString& folder) {
  std::lock_guard<std::mutex> worker(worker_mutex_);
  std::lock_guard<std::mutex> lock(view_mutex_);
  audio_folder_ = folder;
}

QString MixScheduler::SongPath(const PlaylistEntry& entry) const {
  return audio_folder_ + NativePath(entry.filename);
}

QString MixScheduler::TakePlayingError() {
  std::lock_guard<std::mutex> lock(view_mutex_);
  QString error;
  error.swap(playing_error_);
  return error;
}

MixView MixScheduler::View() const {
  std::lock_guard<std::mutex> lock(view_mutex_);
  MixView view;
  const MixSlot& current = slots_[current_.load()];
  view.valid = current.entry.track > 0;
  view.current = current;
  view.next = slots_[1 - current_.load()].entry;
  view.mixing = mixing_.load();
  view.fading = fading_.load();
  return view;
}

bool MixScheduler::LoadSlot(const PlaylistEntry& entry, MixSlot* slot, QString* error_path) {
  slot->entry = entry;
  slot->entry.id.clear();
  slot->entry.bpm = slot->entry.playbackbpm = 0;
  slot->entry.pitch.clear();
  ReadBeatList(entry.introbeatlist, &slot->intro_beats);
  ReadBeatList(entry.breakbeatlist, &slot->break_beats);
  const QString path = SongPath(entry);
  slot->stream = {};
  if (QFileInfo(path).isFile()) {
    slot->stream =
        engine_.CreateStream(QFile::encodeName(path).toStdString(), engine::StreamKind::kDecode);
  }
  if (!slot->stream) {
    *error_path = path;
    return false;
  }
  engine_.SetRate(slot->stream, static_cast<double>(entry.frequency));
  return true;
}

void MixScheduler::SetLevel(engine::Channel channel, float target, float start, double seconds) {
  engine_.AddVolumeEffect(channel, engine::VolumeRamp{target, start, seconds});
}

engine::Frames MixScheduler::At(engine::Channel stream, float seconds) const {
  return engine::ToFrames(engine_.SecondsToBytes(stream, engine::Seconds(seconds)));
}

bool MixScheduler::CueSong(int row, bool quiet, Dialogs& dialogs) {
  std::unique_lock<std::mutex> worker(worker_mutex_);
  generation_.fetch_add(1);
  if (row < 0 || row >= playlist_.size()) return true;

  // Open both files before taking the render domain: reading and scanning them takes time the
  // mix must not lose.
  MixSlot current, next;
  QString error_path;
  const bool current_ok = LoadSlot(playlist_.entries[row], &current, &error_path);
  bool next_ok = true;
  const bool has_next = row + 1 < playlist_.size();
  if (has_next) next_ok = LoadSlot(playlist_.entries[row + 1], &next, &error_path);
  playlist_.current = has_next ? row + 1 : row;
  entry_count_.store(playlist_.size());

  const engine::Channel mixer = this->mixer();
  const bool playing = engine_.State(mixer) == engine::PlayState::kPlaying;
  const bool stop = playing && (!current_ok || !next_ok);
  engine_.Exclusive([&] {
    mixing_.store(false);
    fading_.store(false);
    for (MixSlot& slot : slots_) {
      // A next song that never entered the mix is not the mixer's to free.
      if (!engine_.RemoveSource(mixer, slot.stream)) engine_.Free(slot.stream);
    }
    filter_fx_ = {};
    {
      std::lock_guard<std::mutex> lock(view_mutex_);
      Current() = std::move(current);
      Next() = std::move(next);
    }
    current_track_.store(Current().entry.track);
    const engine::Channel a = Current().stream;
    SetLevel(a, 1.0f, -1.0f, 0.0);
    engine_.AddSource(mixer, a);
    if (stop) return;
    if (playing) engine_.Play(mixer, true);
    ArmCurrentSong();
    engine_.SetPosition(a, row == 0 ? engine::Frames(0) : At(a, Current().entry.introend));
  });
  worker.unlock();

  if (!quiet) host_.ShowNowPlaying(playlist_.entries[row]);
  host_.SetupPositionSlider();
  if (!stop) return true;
  engine_.Stop(mixer);
  {
    std::lock_guard<std::mutex> lock(view_mutex_);
    playing_error_ = error_path;
  }
  host_.StopTransport();
  dialogs.Message("Playing error", PlayingErrorText(error_path), DialogIcon::kError,
                  DialogButtons::kOk);
  return false;
}

QString PlayingErrorText(const QString& path) {
  return QFileInfo(path).isFile() ? "File cannot be played: " + path
                                  : "File does not exist: " + path;
}

void MixScheduler::ReleaseSlots() {
  std::lock_guard<std::mutex> worker(worker_mutex_);
  generation_.fetch_add(1);
  const engine::Channel mixer = this->mixer();
  engine_.Exclusive([&] {
    mixing_.store(false);
    fading_.store(false);
    for (MixSlot& slot : slots_) {
      if (!engine_.RemoveSource(mixer, slot.stream)) engine_.Free(slot.stream);
      slot.stream = {};
    }
    filter_fx_ = {};
  });
}

float MixScheduler::PrestartPosition(const PlaylistEntry& a, const PlaylistEntry& b, float t) {
  const float gap = a.breakstart - a.skipend;
  const float skip = a.shortened ? a.skipend - a.skipstart : 0.0f;
  if (b.introprefix > gap && skip > 0) return a.skipstart - (b.introprefix - gap);
  return t;
}

void MixScheduler::ArmCurrentSong() {
  const MixSlot& a = Current();
  const MixSlot& b = Next();
  const PlaylistEntry& ae = a.entry;
  const engine::Channel s = a.stream;
  using engine::SyncMode;
  if (ae.shortened && ae.skipstart > 0 && ae.skipend > 0) {
    engine_.SetPositionSync(s, At(s, ae.skipstart), SyncMode::kPermanent, &OnSkipStart,
                            At(s, ae.skipend).value, this);
  }
  if (ae.breakmute > 0) {
    engine_.SetPositionSync(s, At(s, ae.breakend - ae.breakmute), SyncMode::kOnce, &OnBreakMute, 0,
                            this);
  }
  if (ae.breakloopstart > 0 && ae.breakloopend > 0) {
    break_loop_count_ = 0;
    engine_.SetPositionSync(s, At(s, ae.breakloopend), SyncMode::kPermanent, &OnBreakLoopEnd,
                            At(s, ae.breakloopstart).value, this);
  }
  if (ae.track < entry_count_.load() && b.stream) {
    const PlaylistEntry& be = b.entry;
    // A prestart below zero would start the next song neither early nor at the break: it
    // counts as none, so the song still enters.
    prestarted_ = be.introprefix > 0 && !be.introfade;
    if (prestarted_) {
      const float at = PrestartPosition(ae, be, ae.breakstart - be.introprefix);
      engine_.SetPositionSync(s, At(s, at), SyncMode::kOnce, &OnPrestart, ae.frequency, this);
    }
    beat_count_ = 0;
    last_interval_ = 0;
    beat_deferred_ = false;
    engine_.SetPositionSync(s, At(s, ae.breakstart), SyncMode::kOnce, &OnBreakStart, 0, this);
    engine_.SetPositionSync(s, At(s, ae.breakstart), SyncMode::kOnce, &OnBeat, ae.frequency, this);
    // Markers beyond the file's end would leave the mix silent at the song's end.
    engine_.SetEndSync(s, SyncMode::kOnce, &OnStreamEnd, 0, this);
  } else if (!ae.shortened) {
    engine_.SetEndSync(s, SyncMode::kOnce, &OnOverlapEnd, 0, this);
  } else {
    engine_.SetPositionSync(s, At(s, ae.breakstart), SyncMode::kOnce, &OnFadeOutStart, 0, this);
    engine_.SetPositionSync(s, At(s, ae.breakend), SyncMode::kPermanent, &OnOverlapEnd, 0, this);
  }
}

void MixScheduler::PrepareNextSong() {
  MixSlot next;
  QString error_path;
  bool ok = true;
  const int following = playlist_.current + 1;
  if (following < playlist_.size()) {
    playlist_.current = following;
    ok = LoadSlot(playlist_.entries[following], &next, &error_path);
  }
  {
    std::lock_guard<std::mutex> lock(view_mutex_);
    Next() = std::move(next);
  }
  if (!ok) {
    StopMix(error_path);
    return;
  }
  ArmCurrentSong();
}

void MixScheduler::StopMix(const QString& error_path) {
  engine_.Stop(mixer());
  if (!error_path.isEmpty()) {
    std::lock_guard<std::mutex> lock(view_mutex_);
    playing_error_ = error_path;
  }
  host_.MixStopped();
}

void MixScheduler::WorkerLoop() {
  for (;;) {
    request_.wait(0);
    const uint64_t request = request_.exchange(0);
    if (quit_.load()) return;
    std::lock_guard<std::mutex> worker(worker_mutex_);
    // A cue or a new playlist since the hand-over asked for it makes the request stale.
    if (request == generation_.load()) PrepareNextSong();
  }
}

}  // namespace tw
