#include "audio/mix_export.h"

#include <vector>

#include <QFile>
#include <QSaveFile>

#include "audio/audio_system.h"
#include "audio/mix_scheduler.h"

namespace tw {

QString SongListPath(const QString& mix_path) { return mix_path.left(mix_path.size() - 3) + "txt"; }

QString SongListText(const Playlist& playlist) {
  QString text;
  for (const PlaylistEntry& e : playlist.entries) {
    const QString track = QString::number(e.track).rightJustified(3, '0', true);
    text += track + ". " + e.artist.toUpper() + " - " + e.title.toUpper() + "\r\n";
  }
  return text;
}

bool WriteSongList(const Playlist& playlist, const QString& path, QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(SongListText(playlist).toUtf8()) < 0 ||
      !file.commit()) {
    if (error) *error = "Cannot write " + path + ": " + file.errorString();
    return false;
  }
  return true;
}

MixExport::MixExport(AudioSystem& audio, MixScheduler& scheduler, const Playlist& playlist)
    : audio_(audio), scheduler_(scheduler), playlist_(playlist) {}

MixExport::~MixExport() {
  cancel_.store(true);
  if (pump_.joinable()) pump_.join();
}

bool MixExport::Prepare(const QString& path, engine::EncoderFormat format, Dialogs& dialogs,
                        QString* error) {
  if (!WriteSongList(playlist_, SongListPath(path), error)) return false;
  scheduler_.ReleaseSlots();
  const engine::Channel mixer = audio_.ReplaceMainMixer(engine::MixerKind::kDecoding);
  scheduler_.SetMixer(mixer);
  std::string message;
  if (!audio_.engine().StartEncoder(mixer, format, QFile::encodeName(path).toStdString(),
                                    &message)) {
    if (error) *error = QString::fromStdString(message);
    scheduler_.SetMixer(audio_.ReplaceMainMixer(engine::MixerKind::kPlaying));
    return false;
  }
  audio_.engine().SetPosition(mixer, engine::Frames(0));
  scheduler_.SetInlinePreparation(true);
  prepared_ = true;
  if (!scheduler_.CueSong(0, true, dialogs)) {
    // The scheduler has shown why.
    scheduler_.TakePlayingError();
    if (error) error->clear();
    return false;
  }
  return true;
}

void MixExport::Start() {
  cancel_.store(false);
  running_.store(true);
  pump_ = std::thread([this] { DataPump(); });
}

void MixExport::DataPump() {
  // Larger blocks than the output's cost nothing in accuracy (syncs split blocks at their
  // frame) and save per-block overhead.
  constexpr int64_t kBlock = 4096;
  std::vector<float> block(2 * kBlock);
  engine::Engine& engine = audio_.engine();
  const engine::Channel mixer = scheduler_.mixer();
  while (!cancel_.load()) {
    const int64_t played = engine.RenderDecoding(mixer, block.data(), kBlock);
    if (played <= 0) break;
    rendered_.fetch_add(played);
  }
  running_.store(false);
}

float MixExport::Progress() const {
  const int count = static_cast<int>(playlist_.entries.size());
  if (count == 0) return 0;
  return static_cast<float>(scheduler_.CurrentTrack()) / static_cast<float>(count) * 100.0f;
}

bool MixExport::Finish(float volume, bool dynamics, QString* error) {
  if (pump_.joinable()) pump_.join();
  running_.store(false);
  if (!prepared_) return true;
  prepared_ = false;
  engine::Engine& engine = audio_.engine();
  std::string message;
  const bool ok = engine.StopEncoder(scheduler_.mixer(), &message);
  if (!ok && error) *error = QString::fromStdString(message);
  scheduler_.ReleaseSlots();
  scheduler_.SetInlinePreparation(false);
  const engine::Channel mixer = audio_.ReplaceMainMixer(engine::MixerKind::kPlaying);
  scheduler_.SetMixer(mixer);
  audio_.SetMainVolume(volume);
  audio_.SetDynamicAmplification(dynamics);
  engine.SetPosition(mixer, engine::Frames(0));
  return ok;
}

}  // namespace tw
