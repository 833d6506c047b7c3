#include "app/core/console_dialogs.h"

#include <cstdio>

namespace tw {

DialogAnswer ConsoleDialogs::Message(const QString& title, const QString& text, DialogIcon icon,
                                     DialogButtons buttons) {
  QString flat = text;
  flat.replace('\r', ' ');
  std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(flat));
  switch (buttons) {
    case DialogButtons::kOk:
      return DialogAnswer::kOk;
    case DialogButtons::kYesNo:
      return DialogAnswer::kNo;
    default:
      return DialogAnswer::kCancel;
  }
}

std::optional<QString> ConsoleDialogs::InputText(const QString&, const QString&, const QString&) {
  return std::nullopt;
}

QString ConsoleDialogs::OpenFileRequester(const QString&, const QString&, const QString&) {
  return {};
}

QString ConsoleDialogs::SaveFileRequester(const QString&, const QString&, const QString&) {
  return {};
}

QString ConsoleDialogs::FolderRequester(const QString&, const QString&) { return {}; }

}  // namespace tw
