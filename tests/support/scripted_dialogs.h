#ifndef TUNEWRIGHT_TESTS_SUPPORT_SCRIPTED_DIALOGS_H_
#define TUNEWRIGHT_TESTS_SUPPORT_SCRIPTED_DIALOGS_H_

#include <deque>
#include <optional>
#include <vector>

#include <QString>

#include "data/dialogs.h"

namespace tw::testing {

// A dialogs double: records everything shown and answers from a script. A plain message
// (OK button only) needs no script; a question or requester without a scripted answer fails
// the test and answers Cancel / No / nothing, so a test can never hang on a modal dialog.
class ScriptedDialogs : public Dialogs {
 public:
  enum class Kind { kMessage, kInput, kOpenFile, kSaveFile, kFolder };
  struct Shown {
    Kind kind;
    QString title;
    QString text;  // message text, input prompt, or requester start path
    DialogIcon icon = DialogIcon::kNone;
    DialogButtons buttons = DialogButtons::kOk;
    QString pattern;
  };

  void AnswerNext(DialogAnswer answer) { answers_.push_back(answer); }
  // The text the next input box returns; nothing = the user cancels it.
  void EnterNext(std::optional<QString> text) {
    inputs_.push_back({!text.has_value(), text.value_or(QString())});
  }
  void ChooseNext(QString path) { paths_.push_back(std::move(path)); }

  const std::vector<Shown>& shown() const { return shown_; }
  // The messages only, as "title|text".
  std::vector<QString> Messages() const;
  void Clear() { shown_.clear(); }

  DialogAnswer Message(const QString& title, const QString& text, DialogIcon icon,
                       DialogButtons buttons) override;
  std::optional<QString> InputText(const QString& title, const QString& prompt,
                                   const QString& initial) override;
  QString OpenFileRequester(const QString& title, const QString& start_path,
                            const QString& pattern) override;
  QString SaveFileRequester(const QString& title, const QString& start_path,
                            const QString& pattern) override;
  QString FolderRequester(const QString& title, const QString& start_path) override;

 private:
  QString NextPath(Kind kind, const QString& title, const QString& start, const QString& pattern);

  std::vector<Shown> shown_;
  std::deque<DialogAnswer> answers_;
  struct Input {
    bool cancelled;
    QString text;
  };
  std::deque<Input> inputs_;
  std::deque<QString> paths_;
};

}  // namespace tw::testing

#endif  // TUNEWRIGHT_TESTS_SUPPORT_SCRIPTED_DIALOGS_H_
