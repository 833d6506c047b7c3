#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace tw::testing {

std::vector<QString> ScriptedDialogs::Messages() const {
  std::vector<QString> out;
  for (const Shown& s : shown_) {
    if (s.kind == Kind::kMessage) out.push_back(s.title + "|" + s.text);
  }
  return out;
}

DialogAnswer ScriptedDialogs::Message(const QString& title, const QString& text, DialogIcon icon,
                                      DialogButtons buttons) {
  shown_.push_back({Kind::kMessage, title, text, icon, buttons, {}});
  if (!answers_.empty()) {
    const DialogAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  if (buttons == DialogButtons::kOk) return DialogAnswer::kOk;
  ADD_FAILURE() << "unscripted question: " << title.toStdString() << " / " << text.toStdString();
  return buttons == DialogButtons::kYesNo ? DialogAnswer::kNo : DialogAnswer::kCancel;
}

std::optional<QString> ScriptedDialogs::InputText(const QString& title, const QString& prompt,
                                                  const QString& initial) {
  shown_.push_back(
      {Kind::kInput, title, prompt, DialogIcon::kNone, DialogButtons::kOkCancel, initial});
  if (inputs_.empty()) {
    ADD_FAILURE() << "unscripted input box: " << title.toStdString();
    return std::nullopt;
  }
  const Input input = inputs_.front();
  inputs_.pop_front();
  if (input.cancelled) return std::nullopt;
  return input.text;
}

QString ScriptedDialogs::NextPath(Kind kind, const QString& title, const QString& start,
                                  const QString& pattern) {
  shown_.push_back({kind, title, start, DialogIcon::kNone, DialogButtons::kOkCancel, pattern});
  if (paths_.empty()) {
    ADD_FAILURE() << "unscripted requester: " << title.toStdString();
    return {};
  }
  QString path = paths_.front();
  paths_.pop_front();
  return path;
}

QString ScriptedDialogs::OpenFileRequester(const QString& title, const QString& start_path,
                                           const QString& pattern) {
  return NextPath(Kind::kOpenFile, title, start_path, pattern);
}

QString ScriptedDialogs::SaveFileRequester(const QString& title, const QString& start_path,
                                           const QString& pattern) {
  return NextPath(Kind::kSaveFile, title, start_path, pattern);
}

QString ScriptedDialogs::FolderRequester(const QString& title, const QString& start_path) {
  return NextPath(Kind::kFolder, title, start_path, {});
}

}  // namespace tw::testing
