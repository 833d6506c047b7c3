#include "app/about_window.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>
#include <QUrl>

#include "app/icons.h"

namespace tw {
namespace {

QFont Font(const QString& family, int size, bool bold = false) {
  QFont font(family, size);
  font.setBold(bold);
  return font;
}

QLabel* Text(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(geometry);
  label->setFont(font);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

}  // namespace

QString VersionLine() {
  const QString platform = QSysInfo::productType() == "windows" ? "Windows" : "Linux";
  return "Tunewright 1.8 for " + platform + " " + QString::number(QSysInfo::WordSize) + " bit";
}

AboutWindow* AboutWindow::Open(QWidget* opener, const QString& font_family, bool dark_background,
                               const QString& icons_address) {
  auto* window = new AboutWindow(opener, font_family, dark_background, icons_address);
  if (opener) opener->setEnabled(false);
  window->show();
  return window;
}

AboutWindow::AboutWindow(QWidget* opener, const QString& family, bool dark,
                         const QString& icons_address)
    : QWidget(nullptr, Qt::Window | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint),
      opener_(opener) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Tunewright - About");
  setFixedSize(500, 250);
  if (opener) move(opener->geometry().center() - QPoint(250, 125));

  logo_ = new QLabel(this);
  logo_->setGeometry(420, 20, 50, 50);
  logo_->setPixmap(IconPixmap(IconId::kInfo, dark, 50));
  logo_->setProperty("dark_variant", dark);
  version_ = Text(this, VersionLine(), {10, 10, 400, 20}, Font(family, 12, true));
  Text(this,
       "Tunewright, the auto-DJ of continuous beat-locked mixes\n\n"
       "Audio engine\n"
       "libmpg123, libvorbisfile, libsndfile, LAME, SDL2, FFTW and qm-dsp",
       {10, 30, 400, 70}, Font(family, 10));
  Text(this, "Icons by", {10, 120, 70, 20}, Font(family, 10));
  link_ = Text(this, {}, {70, 120, 150, 20}, Font(family, 10));
  const QString colour = dark ? "#ffffff" : "#0000ff";
  // The icons are the program's own drawings; the link leads to the page that credits them.
  link_->setText(
      QString("<a href=\"%1\" style=\"color:%2\">Tunewright</a>").arg(icons_address, colour));
  link_->setProperty("link_colour", colour);
  link_->setOpenExternalLinks(true);
  Text(this,
       "Interface font Bebas Neue by Ryoichi Tsunekawa (Dharma Type)\n\n"
       "Thanks to everyone who marked their first intro and break",
       {10, 160, 410, 45}, Font(family, 10));  // three lines need more than 30 pixels
  close_ = new QPushButton("Close", this);
  close_->setGeometry(430, 200, 50, 30);
  close_->setFont(Font(family, 10));
  connect(close_, &QPushButton::clicked, this, &QWidget::close);
}

void AboutWindow::closeEvent(QCloseEvent* event) {
  if (opener_) opener_->setEnabled(true);
  event->accept();
}

QString HelpAddress(const QString& root) {
  return QUrl::fromLocalFile(QDir(root).filePath("assets/doc/help.html")).toString();
}

void OpenHelp(const QString& root) { QDesktopServices::openUrl(QUrl(HelpAddress(root))); }

}  // namespace tw
