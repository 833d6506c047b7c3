#include "app/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace tw {
namespace {

QWidget* Parent() { return QApplication::activeWindow(); }

QMessageBox::Icon ToQt(DialogIcon icon) {
  switch (icon) {
    case DialogIcon::kInformation:
      return QMessageBox::Information;
    case DialogIcon::kWarning:
      return QMessageBox::Warning;
    case DialogIcon::kError:
      return QMessageBox::Critical;
    case DialogIcon::kQuestion:
      return QMessageBox::Question;
    case DialogIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

DialogAnswer QtDialogs::Message(const QString& title, const QString& text, DialogIcon icon,
                                DialogButtons buttons) {
  // Messages write a line break as "\r" (or CR LF); a message box wants "\n".
  QString shown = text;
  shown.replace("\r\n", "\n").replace('\r', '\n');
  QMessageBox box(ToQt(icon), title, shown, QMessageBox::NoButton, Parent());
  switch (buttons) {
    case DialogButtons::kOk:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case DialogButtons::kOkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case DialogButtons::kYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case DialogButtons::kYesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return DialogAnswer::kYes;
    case QMessageBox::No:
      return DialogAnswer::kNo;
    case QMessageBox::Cancel:
      return DialogAnswer::kCancel;
    default:
      return buttons == DialogButtons::kOk ? DialogAnswer::kOk : DialogAnswer::kCancel;
  }
}

std::optional<QString> QtDialogs::InputText(const QString& title, const QString& prompt,
                                            const QString& initial) {
  bool ok = false;
  QString text = QInputDialog::getText(Parent(), title, prompt, QLineEdit::Normal, initial, &ok);
  if (!ok) return std::nullopt;
  return text;
}

QString QtDialogs::QtFilter(const QString& pattern) {
  const QStringList parts = pattern.split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString globs = parts[i + 1];
    globs.replace(';', ' ');
    filters << parts[i] + " (" + globs + ")";
  }
  return filters.join(";;");
}

QString QtDialogs::OpenFileRequester(const QString& title, const QString& start_path,
                                     const QString& pattern) {
  return QDir::toNativeSeparators(
      QFileDialog::getOpenFileName(Parent(), title, start_path, QtFilter(pattern)));
}

QString QtDialogs::SaveFileRequester(const QString& title, const QString& start_path,
                                     const QString& pattern) {
  // The program asks its own overwrite question, with its own texts.
  return QDir::toNativeSeparators(QFileDialog::getSaveFileName(
      Parent(), title, start_path, QtFilter(pattern), nullptr, QFileDialog::DontConfirmOverwrite));
}

QString QtDialogs::FolderRequester(const QString& title, const QString& start_path) {
  QString folder = QFileDialog::getExistingDirectory(Parent(), title, start_path);
  if (folder.isEmpty()) return folder;
  folder = QDir::toNativeSeparators(folder);
  if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
  return folder;
}

}  // namespace tw
