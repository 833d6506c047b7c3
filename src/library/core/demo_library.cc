#include "library/core/demo_library.h"

#include <atomic>
#include <mutex>
#include <thread>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include "audio/engine/audio_file_writer.h"
#include "data/data_paths.h"
#include "data/databases.h"
#include "data/ini_file.h"
#include "data/preferences.h"
#include "data/song_statements.h"
#include "data/sql_text.h"
#include "library/core/demo_song.h"
#include "library/core/ogg_writer.h"

namespace tw {
namespace {

QString Extension(demo::DemoFormat format) {
  switch (format) {
    case demo::DemoFormat::kMp3:
      return "mp3";
    case demo::DemoFormat::kOgg:
      return "ogg";
    case demo::DemoFormat::kWav:
      return "wav";
  }
  return "wav";
}

QString FileStem(const demo::DemoSong& song) {
  QString stem = song.artist + " - " + song.title;
  stem.replace('/', '-');
  return stem;
}

bool WriteAudio(const demo::DemoSong& song, const QString& path, QString* error) {
  const std::vector<float> audio = demo::RenderDemoSong(song);
  const int64_t frames = static_cast<int64_t>(audio.size() / 2);
  std::string message;
  const std::string file = path.toStdString();
  if (song.format == demo::DemoFormat::kOgg) {
    if (demo::WriteOggVorbis(file, audio.data(), frames, &message)) return true;
  } else {
    auto writer = song.format == demo::DemoFormat::kMp3 ? engine::OpenMp3Writer(file, &message)
                                                        : engine::OpenWavWriter(file, &message);
    if (writer && writer->Write(audio.data(), frames) && writer->Finish()) return true;
    if (writer) message = writer->error();
  }
  *error = QString::fromStdString(message);
  return false;
}

// A sleeve: a two-colour gradient with rings and bars drawn from the song's seed.
bool WriteSleeve(const demo::DemoSong& song, const QString& path) {
  QImage image(300, 300, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const int hue = static_cast<int>((song.seed * 37) % 360);
  QLinearGradient gradient(0, 0, 300, 300);
  gradient.setColorAt(0, QColor::fromHsv(hue, 160, 230));
  gradient.setColorAt(1, QColor::fromHsv((hue + 70) % 360, 200, 70));
  p.fillRect(image.rect(), gradient);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 6; ++i) {
    p.setBrush(QColor::fromHsv((hue + 30 * i) % 360, 120, 255, 60));
    const int r = 40 + static_cast<int>((song.seed >> i) % 90);
    p.drawEllipse(QPoint(150 + (i - 3) * 25, 150 + ((i * 53) % 60) - 30), r, r);
  }
  p.setBrush(QColor(255, 255, 255, 200));
  const int bars = static_cast<int>(song.bpm) % 7 + 5;
  for (int i = 0; i < bars; ++i) {
    const int h = 20 + static_cast<int>((song.seed * (i + 3)) % 80);
    p.drawRect(40 + i * 220 / bars, 260 - h, 220 / bars - 6, h);
  }
  p.end();
  return image.save(path, "PNG");
}

}  // namespace

int CreateDemoLibrary(const DataPaths& paths, Databases& databases, QString* error,
                      const std::function<void(const QString&)>& progress) {
  return CreateDemoLibrary(paths, databases, demo::DemoSongs(), error, progress);
}

int CreateDemoLibrary(const DataPaths& paths, Databases& databases,
                      const std::vector<demo::DemoSong>& songs, QString* error,
                      const std::function<void(const QString&)>& progress) {
  const QString music = paths.Resolve("music/");
  const QString sleeves = paths.Resolve("sleeves/");
  if (!QDir().mkpath(music) || !QDir().mkpath(sleeves)) {
    *error = "Cannot create the folders " + music + " and " + sleeves;
    return -1;
  }

  // Songs are made two at a time: rendering and encoding keep a core busy each.
  std::atomic<size_t> next{0};
  std::mutex failure_mutex;
  QString failure;
  std::vector<bool> made(songs.size(), false);
  auto work = [&] {
    for (size_t i = next++; i < songs.size(); i = next++) {
      const demo::DemoSong& song = songs[i];
      const QString audio = music + FileStem(song) + "." + Extension(song.format);
      const QString sleeve = sleeves + FileStem(song) + ".png";
      QString message;
      if (QFileInfo::exists(audio) || WriteAudio(song, audio, &message)) {
        made[i] = true;
      } else {
        const std::lock_guard lock(failure_mutex);
        failure = message;
      }
      if (!QFileInfo::exists(sleeve)) WriteSleeve(song, sleeve);
    }
  };
  std::thread helper(work);
  work();
  helper.join();
  if (!failure.isEmpty()) {
    *error = failure;
    return -1;
  }

  int added = 0;
  for (size_t i = 0; i < songs.size(); ++i) {
    const demo::DemoSong& song = songs[i];
    const QString file = FileStem(song) + "." + Extension(song.format);
    if (progress) progress(file);
    if (!databases.song_database
             .LookupText("SELECT id FROM music WHERE filename='" + EscapeQuotes(file) + "' LIMIT 1")
             .isEmpty()) {
      continue;
    }
    const SongRecord record = demo::DemoRecord(song, file, FileStem(song) + ".png");
    if (!databases.song_database.Execute(SongInsertStatement(record))) continue;
    ++added;
    const QString folder = QDir::toNativeSeparators(music);
    if (databases.file_catalogue
            .LookupText("SELECT id FROM files WHERE file='" + EscapeQuotes(file) +
                        "' AND folder='" + EscapeQuotes(folder) + "' LIMIT 1")
            .isEmpty()) {
      databases.file_catalogue.Execute(
          "INSERT INTO files (added, file, folder, bpm) VALUES ('Yes', '" + EscapeQuotes(file) +
          "', '" + EscapeQuotes(folder) + "', '" +
          QString::number(song.bpm, 'f', 2).rightJustified(6, '0') + "')");
    }
  }

  if (auto writer = OpenPreferencesFile(paths)) {
    writer->SelectGroup("Directories Windows");
    writer->WriteText("Path_audiofiles", QDir::toNativeSeparators(music));
    writer->WriteText("Path_sleevesfiles", QDir::toNativeSeparators(sleeves));
    // Twelve songs spread over 12 BPM make short random playlists at the default distance of
    // 2 BPM; a fresh library gets a distance that lets a random mix run through all of them.
    IniFile current;
    bool found = false;
    if (current.Load(paths.PreferencesFile())) {
      current.Value("Speed", "Maximum_BPM_distance", {}, &found);
    }
    if (!found) {
      writer->SelectGroup("Speed");
      writer->WriteText("Maximum_BPM_distance", "6.0");
    }
    writer->Close();
  }
  return added;
}

}  // namespace tw
