#include "app/core/export_file_choice.h"

#include <QDir>
#include <QFileInfo>

#include "data/data_paths.h"
#include "data/dialogs.h"
#include "playlist/playlist_files.h"

namespace tw {

std::optional<QString> ChooseExportFile(Dialogs& dialogs, const DataPaths& paths) {
  for (;;) {
    QDir().mkpath(paths.Resolve("exports"));
    const QString path = dialogs.SaveFileRequester(
        "Save mix as...", NativePath(paths.Resolve("exports/mix.mp3")), "MP3 file|*.mp3");
    if (path.isEmpty()) return std::nullopt;
    if (QFileInfo(path).suffix().toLower() != "mp3") {
      dialogs.Message("Saving error", "Audiofile must have mp3-extension.", DialogIcon::kError);
      continue;
    }
    if (!QFileInfo::exists(path)) return path;
    const DialogAnswer answer =
        dialogs.Message("Save mix warning",
                        "File " + QFileInfo(path).fileName() +
                            " already exists.\r\rDo you want to overwrite this file?",
                        DialogIcon::kWarning, DialogButtons::kYesNoCancel);
    if (answer == DialogAnswer::kYes) return path;
    if (answer != DialogAnswer::kNo) return std::nullopt;
  }
}

}  // namespace tw
