#include "playlist/playlist_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include "playlist/load_playlist.h"
#include "playlist/playlist_parser.h"
#include "playlist/playlist_services.h"

namespace tw {
namespace {

constexpr const char* kPattern = ".mix|*.mix";
// A playlist line is short; anything longer than this is not a playlist file.
constexpr qint64 kMaximumLineBytes = 16 * 1024 * 1024;

bool HasMixExtension(const QString& path) {
  return QFileInfo(path).suffix().toLower() == QLatin1String("mix");
}

QString PlaylistsFolder(const PlaylistServices& services) {
  const QString folder = services.paths.Resolve("playlists");
  QDir().mkpath(folder);
  return folder;
}

QString ReadFirstLine(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QByteArray line = file.readLine(kMaximumLineBytes);
  if (line.startsWith("\xEF\xBB\xBF")) line.remove(0, 3);
  while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
  return QString::fromUtf8(line);
}

bool WriteLine(const QString& path, const QString& line) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write((line + "\r\n").toUtf8());
  return file.commit();
}

}  // namespace

QString BuildPlaylistText(const Playlist& playlist) {
  QStringList ids;
  QStringList times;
  for (const PlaylistEntry& e : playlist.entries) {
    ids << e.id + (e.pitch == QLatin1String(kNoPitch) ? QString(kTempoResetMark) : QString());
    times << QString::number(e.playtime, 'f', 2) +
                 (e.shortened == 1 ? QString(kShortenedMark) : QString());
  }
  return ids.join(',') + '|' + times.join(',');
}

QString NativePath(const QString& path) {
  QString native = path;
  native.replace('\\', '/');
  return QDir::toNativeSeparators(native);
}

bool IsPlaylistFileLine(const QString& line) {
  if (!line.contains('|') || !line.contains(',')) return false;
  return line.section(',', 0, 0).endsWith(kTempoResetMark);
}

void SavePlaylistFile(PlaylistServices& services) {
  for (;;) {
    const QString folder = PlaylistsFolder(services);
    const QString path = services.dialogs.SaveFileRequester(
        "Save playlist as...", NativePath(folder + "/playlist.mix"), kPattern);
    if (path.isEmpty()) return;
    if (!HasMixExtension(path)) {
      services.dialogs.Message("Playlist saving error", "Playlist file must have mix-extension.",
                               DialogIcon::kError);
      continue;
    }
    if (QFileInfo::exists(path)) {
      const DialogAnswer answer =
          services.dialogs.Message("Save playlist warning",
                                   "File " + QFileInfo(path).fileName() +
                                       " already exists.\r\rDo you want to overwrite this file?",
                                   DialogIcon::kWarning, DialogButtons::kYesNoCancel);
      if (answer == DialogAnswer::kNo) continue;
      if (answer != DialogAnswer::kYes) return;
    }
    if (!WriteLine(path, BuildPlaylistText(services.playlist))) {
      // Never reported as saved when it was not: the old file, if any, is still whole.
      services.dialogs.Message("Playlist saving error",
                               "File " + QFileInfo(path).fileName() + " cannot be written.",
                               DialogIcon::kError);
    }
    return;
  }
}

void LoadPlaylistFile(PlaylistServices& services) {
  const QString folder = PlaylistsFolder(services);
  const QString path = services.dialogs.OpenFileRequester("Choose playlist file to load",
                                                          NativePath(folder + "/*.mix"), kPattern);
  if (path.isEmpty()) return;
  const QString line = HasMixExtension(path) ? ReadFirstLine(path) : QString();
  if (!IsPlaylistFileLine(line)) {
    services.dialogs.Message("Playlist loading error", "File is not a Tunewright playlist file.",
                             DialogIcon::kError);
    return;
  }
  // A file none of whose songs are known loads nothing; storing it would make the next start
  // restore an empty playlist instead of the one still playing.
  if (LoadPlaylist(services, line, false)) StoreSessionPlaylist(services.paths, line);
}

}  // namespace tw
