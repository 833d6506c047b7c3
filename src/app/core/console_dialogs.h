#ifndef TUNEWRIGHT_APP_CORE_CONSOLE_DIALOGS_H_
#define TUNEWRIGHT_APP_CORE_CONSOLE_DIALOGS_H_

#include "data/dialogs.h"

namespace tw {

// The dialogs of a run without windows: messages go to standard error as "title: text",
// questions are answered No (or Cancel), requesters and input boxes are cancelled.
class ConsoleDialogs : public Dialogs {
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
};

}  // namespace tw

#endif  // TUNEWRIGHT_APP_CORE_CONSOLE_DIALOGS_H_
