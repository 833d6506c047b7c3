#ifndef TUNEWRIGHT_DATA_DIALOGS_H_
#define TUNEWRIGHT_DATA_DIALOGS_H_

#include <optional>

#include <QString>

namespace tw {

enum class DialogIcon { kNone, kInformation, kWarning, kError, kQuestion };
enum class DialogButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class DialogAnswer { kOk, kCancel, kYes, kNo };

// Every message box, question, input box and requester of the program goes through this
// interface: the windows get a Qt implementation, the command-line tool a console one, and
// the tests a scripted double that never blocks.
//
// Requester patterns are pairs of caption and filter, all separated by "|", for example
// "MP3 file|*.mp3" or "Imagefiles (*.jpg;*.png)|*.jpg;*.png"; several filters in one pattern
// are separated by ";". Folder results end with the platform's separator.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  virtual DialogAnswer Message(const QString& title, const QString& text, DialogIcon icon,
                               DialogButtons buttons = DialogButtons::kOk) = 0;
  // The entered text, or nothing when the user cancelled.
  virtual std::optional<QString> InputText(const QString& title, const QString& prompt,
                                           const QString& initial) = 0;
  // The chosen path, or the empty text when the user cancelled.
  virtual QString OpenFileRequester(const QString& title, const QString& start_path,
                                    const QString& pattern) = 0;
  virtual QString SaveFileRequester(const QString& title, const QString& start_path,
                                    const QString& pattern) = 0;
  virtual QString FolderRequester(const QString& title, const QString& start_path) = 0;
};

}  // namespace tw

#endif  // TUNEWRIGHT_DATA_DIALOGS_H_
