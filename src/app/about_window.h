#ifndef TUNEWRIGHT_APP_ABOUT_WINDOW_H_
#define TUNEWRIGHT_APP_ABOUT_WINDOW_H_

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace tw {

// "Tunewright - About": version, credits and the icon credit, centred on the window it was
// opened from, which stays disabled until this one closes.
class AboutWindow : public QWidget {
 public:
  static AboutWindow* Open(QWidget* opener, const QString& font_family, bool dark_background,
                           const QString& icons_address);

  QLabel* Logo() const { return logo_; }
  QLabel* Version() const { return version_; }
  QLabel* Link() const { return link_; }
  QPushButton* CloseButton() const { return close_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  AboutWindow(QWidget* opener, const QString& font_family, bool dark_background,
              const QString& icons_address);

  QWidget* opener_;
  QLabel* logo_ = nullptr;
  QLabel* version_ = nullptr;
  QLabel* link_ = nullptr;
  QPushButton* close_ = nullptr;
};

// The version line: "Tunewright 1.8 for " and the platform.
QString VersionLine();

// The help page: assets/doc/help.html below the program's root folder, as a file:// address.
QString HelpAddress(const QString& root);
// Opens the help page in the desktop's browser; does not wait and reports nothing.
void OpenHelp(const QString& root);

}  // namespace tw

#endif  // TUNEWRIGHT_APP_ABOUT_WINDOW_H_
