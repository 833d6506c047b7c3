#ifndef TUNEWRIGHT_AUDIO_MIX_SCHEDULER_H_
#define TUNEWRIGHT_AUDIO_MIX_SCHEDULER_H_

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include <QString>

#include "audio/engine/engine.h"
#include "audio/mix_host.h"
#include "playlist/playlist_entry.h"

namespace tw {

class Dialogs;

// The message of a song file that is missing ("File does not exist: ") or cannot be decoded.
QString PlayingErrorText(const QString& path);

// Which songs lose their bass drum while two beats would clash.
enum class BeatFilter { kNone, kCurrent, kNext, kBoth };
BeatFilter BeatFilterFromText(const QString& text);

// One of the two songs the mix holds: the playlist entry without its tempo columns, its
// stream, and its beat lists as numbers.
struct MixSlot {
  PlaylistEntry entry;
  engine::Channel stream;
  std::array<float, 32> intro_beats{};
  std::array<float, 32> break_beats{};
};

// What a cue or a read of the slots gives the player.
struct MixView {
  bool valid = false;
  MixSlot current;
  PlaylistEntry next;  // empty when the current song is the last
  bool mixing = false;
  bool fading = false;
};

// Plays the playlist as one continuous mix through a mixer: the current song, the next one
// entering over its break, locked to its beat, and the hand-over, all by syncs at the exact
// frame.
//
// Threads. The syncs run on the mixing thread (the output's, or the export's pump). Cueing and
// releasing run on the main thread; they take the render domain for the moment they swap the
// slots (Engine::Exclusive), so no sync ever sees half a cue and no sync ever waits. After a
// hand-over a worker thread opens the song after next (file reading and the exact length scan
// must not stall the mixing thread); it writes only the slot that no armed sync reads, and arms
// the new current song only when that slot is complete. While an export runs, that work is done
// inline, in the sync. The main thread reads the slots through View() under a mutex that the
// mixing thread never takes.
class MixScheduler {
 public:
  MixScheduler(engine::Engine& engine, Playlist& playlist, MixHost& host);
  ~MixScheduler();
  MixScheduler(const MixScheduler&) = delete;
  MixScheduler& operator=(const MixScheduler&) = delete;

  // The mixer the mix plays in. Main thread, with no song cued (after ReleaseSlots).
  void SetMixer(engine::Channel mixer);
  engine::Channel mixer() const { return engine::Channel{mixer_.load()}; }
  // The music folder (`Path_audiofiles`) and the beat filter preference, read at every cue.
  void SetAudioFolder(const QString& folder);
  void SetBeatFilter(BeatFilter filter) { beat_filter_.store(static_cast<int>(filter)); }
  // While set, hand-overs prepare the next song in the sync itself (an export pumps the mixer
  // on its own thread, so nothing waits for real time).
  void SetInlinePreparation(bool on) { inline_preparation_.store(on); }

  // Makes playlist row `row` the current song and its successor the next one, and arms the
  // current song. Unless `quiet`, the host shows it as now playing. With the mixer playing,
  // a missing song file stops the transport and shows "Playing error" through `dialogs`.
  // Main thread. False when it stopped the mix for a song that cannot be played.
  bool CueSong(int row, bool quiet, Dialogs& dialogs);
  // Takes both songs out of the mixer and waits until no worker uses the playlist, so that the
  // caller may replace it. Main thread.
  void ReleaseSlots();

  // For the display. Any thread but the mixing thread.
  MixView View() const;
  int64_t CurrentTrack() const { return current_track_.load(); }
  bool mixing() const { return mixing_.load(); }
  bool fading() const { return fading_.load(); }
  bool callback_busy() const { return busy_.load() > 0; }
  // The absolute path of the song the mix stopped at because it could not be played, once.
  QString TakePlayingError();
  // Absolute path of a slot's song.
  QString SongPath(const PlaylistEntry& entry) const;

  // Positions of the current song A's syncs, for the player and the tests.
  static float PrestartPosition(const PlaylistEntry& a, const PlaylistEntry& b, float t);

 private:
  enum class Role { kCurrent, kNext };
  MixSlot& Current() { return slots_[current_.load(std::memory_order_relaxed)]; }
  MixSlot& Next() { return slots_[1 - current_.load(std::memory_order_relaxed)]; }

  // Fills a slot (no engine state touched but a new stream); false when its file is missing
  // or cannot be decoded, with `error_path` set.
  bool LoadSlot(const PlaylistEntry& entry, MixSlot* slot, QString* error_path);
  void ArmCurrentSong();
  void PrepareNextSong();
  void WorkerLoop();
  void StopMix(const QString& error_path);
  void SetLevel(engine::Channel channel, float target, float start, double seconds);
  engine::Frames At(engine::Channel stream, float seconds) const;
  void ArmBeat(int k, int64_t frequency, float interval);

  static void OnSkipStart(const engine::SyncEvent& e);
  static void OnBreakMute(const engine::SyncEvent& e);
  static void OnBreakLoopEnd(const engine::SyncEvent& e);
  static void OnPrestart(const engine::SyncEvent& e);
  static void OnBreakStart(const engine::SyncEvent& e);
  static void OnBeat(const engine::SyncEvent& e);
  static void OnIntroLoopEnd(const engine::SyncEvent& e);
  static void OnOverlapEnd(const engine::SyncEvent& e);
  static void OnFadeOutStart(const engine::SyncEvent& e);
  static void OnStreamEnd(const engine::SyncEvent& e);
  void BreakStart();
  void Beat(const engine::SyncEvent& e);
  void OverlapEnd();

  engine::Engine& engine_;
  Playlist& playlist_;
  MixHost& host_;
  std::atomic<uint64_t> mixer_{0};
  std::atomic<int> beat_filter_{static_cast<int>(BeatFilter::kCurrent)};
  std::atomic<bool> inline_preparation_{false};

  // Written by cues (exclusive), the worker (the next slot only) and hand-overs (the index).
  std::array<MixSlot, 2> slots_;
  std::atomic<int> current_{0};
  std::atomic<int64_t> current_track_{0};
  std::atomic<int> entry_count_{0};
  // Mixing-thread state (and a cue's, inside the render domain).
  std::array<engine::Effect, 2> filter_fx_{};
  int break_loop_count_ = 0;
  int intro_loop_count_ = 0;
  int beat_count_ = 0;
  bool prestarted_ = false;
  float last_interval_ = 0;
  bool beat_deferred_ = false;
  engine::Frames pending_beat_frame_;
  int64_t pending_beat_user_ = 0;
  std::atomic<bool> mixing_{false};
  std::atomic<bool> fading_{false};
  std::atomic<int> busy_{0};

  // Guards the slots' texts for View() against the worker's writes, and the error path.
  mutable std::mutex view_mutex_;
  QString audio_folder_;
  QString playing_error_;

  // The worker: held while it prepares a song; cues take it first, so they never overlap.
  std::mutex worker_mutex_;
  std::atomic<uint64_t> generation_{1};
  std::atomic<uint64_t> request_{0};
  std::atomic<bool> quit_{false};
  std::thread worker_;
};

}  // namespace tw

#endif  // TUNEWRIGHT_AUDIO_MIX_SCHEDULER_H_
