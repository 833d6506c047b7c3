#ifndef TUNEWRIGHT_APP_CORE_EXPORT_FILE_CHOICE_H_
#define TUNEWRIGHT_APP_CORE_EXPORT_FILE_CHOICE_H_

#include <optional>

#include <QString>

namespace tw {

class DataPaths;
class Dialogs;

// Asks for the MP3 file of an export, below `exports` (made when missing), until a file is
// accepted (nothing when the user gives up): a name without the mp3 extension is refused, an
// existing file is overwritten only after Yes.
std::optional<QString> ChooseExportFile(Dialogs& dialogs, const DataPaths& paths);

}  // namespace tw

#endif  // TUNEWRIGHT_APP_CORE_EXPORT_FILE_CHOICE_H_
