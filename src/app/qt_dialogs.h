#ifndef TUNEWRIGHT_APP_QT_DIALOGS_H_
#define TUNEWRIGHT_APP_QT_DIALOGS_H_

#include "data/dialogs.h"

class QWidget;

namespace tw {

// The dialogs of a desktop run: modal Qt message boxes and file dialogs over the active window.
class QtDialogs : public Dialogs {
 public:
  DialogAnswer Message(const QString& title, const QString& text, DialogIcon icon,
                       DialogButtons buttons) override;
  std::optional<QString> InputText(const QString& title, const QString& prompt,
                                   const QString& initial) override;
  QString OpenFileRequester(const QString& title, const QString& start_path,
                            const QString& pattern) override;
  QString SaveFileRequester(const QString& title, const QString& start_path,
                            const QString& pattern) override;
  QString FolderRequester(const QString& title, const QString& start_path) override;

  // "MP3 file|*.mp3|WAV file|*.wav" -> "MP3 file (*.mp3);;WAV file (*.wav)".
  static QString QtFilter(const QString& pattern);
};

}  // namespace tw

#endif  // TUNEWRIGHT_APP_QT_DIALOGS_H_
