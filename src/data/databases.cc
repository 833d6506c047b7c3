#include "data/databases.h"

#include <QFile>
#include <QFileInfo>

#include "data/data_paths.h"
#include "data/dialogs.h"
#include "data/schema.h"

namespace tw {
namespace {

bool CreateEmptyFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly);
}

bool Abort(Dialogs& dialogs, const QString& text) {
  dialogs.Message("Program aborted", text, DialogIcon::kError);
  return false;
}

}  // namespace

bool OpenDatabases(const DataPaths& paths, Dialogs& dialogs, Databases& databases) {
  Database& songs = databases.song_database;
  Database& files = databases.file_catalogue;
  const QString song_path = paths.SongDatabase();
  const QString catalogue_path = paths.FileCatalogue();
  const QString song_failure = "Database tunewright.db1 cannot be opened";

  if (!QFileInfo::exists(song_path)) CreateEmptyFile(song_path);
  if (!songs.Open(song_path)) return Abort(dialogs, song_failure);
  songs.Execute(schema::kCreateMusic);  // fails harmlessly when the table exists
  songs.Close();
  if (!songs.Open(song_path)) return Abort(dialogs, song_failure);
  for (const char* statement : schema::kMusicIndexes) songs.Execute(statement);

  // The `files` table is made only together with a new file; an existing empty file stays a
  // database without it, and every statement on it then fails quietly.
  if (!QFileInfo::exists(catalogue_path)) {
    CreateEmptyFile(catalogue_path);
    if (files.Open(catalogue_path)) {
      files.Execute(schema::kCreateFiles);
      files.Close();
    }
  }
  if (!files.Open(catalogue_path)) {
    songs.Close();
    return Abort(dialogs, "Database tunewright.db2 cannot be opened");
  }
  for (const char* statement : schema::kFilesIndexes) files.Execute(statement);
  return true;
}

void CloseDatabases(Databases& databases) {
  databases.song_database.Close();
  databases.file_catalogue.Close();
}

}  // namespace tw
