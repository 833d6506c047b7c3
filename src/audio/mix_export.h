#ifndef TUNEWRIGHT_AUDIO_MIX_EXPORT_H_
#define TUNEWRIGHT_AUDIO_MIX_EXPORT_H_

#include <atomic>
#include <thread>

#include <QString>

#include "audio/engine/engine_types.h"
#include "playlist/playlist_entry.h"

namespace tw {

class AudioSystem;
class Dialogs;
class MixScheduler;

// The song list written beside a mix: same name, the extension's three letters "txt".
QString SongListPath(const QString& mix_path);
// One line per entry, CR LF each: "007. SOME ARTIST - SOME TITLE".
QString SongListText(const Playlist& playlist);
// Replaces the file as a whole; false with a message when it cannot be written.
bool WriteSongList(const Playlist& playlist, const QString& path, QString* error);

// Renders the playlist as the live mix would play it, through the same scheduler, into an
// audio file as fast as the machine allows: MainMixer becomes a decoding mixer with an encoder
// attached, a pump thread drains it, and afterwards a playing mixer takes its place again.
class MixExport {
 public:
  MixExport(AudioSystem& audio, MixScheduler& scheduler, const Playlist& playlist);
  ~MixExport();
  MixExport(const MixExport&) = delete;
  MixExport& operator=(const MixExport&) = delete;

  // Writes the song list, swaps in the decoding mixer, starts the encoder on `path` and cues
  // the first song. The transport must be stopped. False with a message when a file cannot be
  // created, or with an empty message when the first song cannot be played (the scheduler has
  // said so through `dialogs`). Finish restores playback then.
  bool Prepare(const QString& path, engine::EncoderFormat format, Dialogs& dialogs, QString* error);
  // Starts the pump on its own thread.
  void Start();
  bool Running() const { return running_.load(); }
  // Per cent of the playlist reached: the current song's track of all entries.
  float Progress() const;
  // The pump stops before its next block.
  void Cancel() { cancel_.store(true); }
  // Waits for the pump, finishes the file and puts a playing mixer back with the volume and
  // dynamics the player shows; the player then cues its selected row. False with a message
  // when the file could not be written.
  bool Finish(float volume, bool dynamics, QString* error);
  // Frames rendered so far.
  int64_t rendered_frames() const { return rendered_.load(); }

 private:
  void DataPump();

  AudioSystem& audio_;
  MixScheduler& scheduler_;
  const Playlist& playlist_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> running_{false};
  std::atomic<int64_t> rendered_{0};
  bool prepared_ = false;
  std::thread pump_;
};

}  // namespace tw

#endif  // TUNEWRIGHT_AUDIO_MIX_EXPORT_H_
