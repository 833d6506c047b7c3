#ifndef TUNEWRIGHT_APP_PREFERENCES_WINDOW_H_
#define TUNEWRIGHT_APP_PREFERENCES_WINDOW_H_

#include <functional>
#include <vector>

#include <QWidget>

#include "app/core/preferences_form.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace tw {

struct AppContext;

// "Tunewright - Preferences": one row per catalogue entry, grouped as the catalogue groups
// them. Nothing reaches the file before Apply; the window it was opened from stays disabled
// while it is open.
class PreferencesWindow : public QWidget {
  Q_OBJECT

 public:
  struct Options {
    QWidget* opener = nullptr;           // disabled while this window is open
    std::function<int()> playlist_rows;  // rows of the main window's playlist list
    bool dark_background = false;
  };

  // Builds the window, fills it from the preferences file and shows it.
  static PreferencesWindow* Open(AppContext& context, const Options& options);

  // The value every main control holds now, in catalogue order.
  PreferenceTexts Texts() const;

  // The controls, by catalogue position (0-based), for the windows' layout and for tests.
  QComboBox* Choice(size_t entry) const { return rows_[entry].choice; }
  QListWidget* Choices(size_t entry) const { return rows_[entry].list; }
  QLineEdit* Folder(size_t entry) const { return rows_[entry].folder; }
  QToolButton* FolderButton(size_t entry) const { return rows_[entry].folder_button; }
  QLabel* Label(size_t entry) const { return rows_[entry].label; }
  QPushButton* DefaultButton() const { return default_button_; }
  QPushButton* ApplyButton() const { return apply_button_; }
  QPushButton* CancelButton() const { return cancel_button_; }

  void Apply();
  void Cancel();
  void RestoreDefaults();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Row {
    QGroupBox* frame = nullptr;  // set on the first entry of each group
    QLabel* label = nullptr;
    QComboBox* choice = nullptr;
    QListWidget* list = nullptr;
    QLineEdit* folder = nullptr;
    QToolButton* folder_button = nullptr;
  };

  PreferencesWindow(AppContext& context, const Options& options);
  void Build();
  void Fill(const PreferenceTexts& texts);
  void UpdateCount(size_t entry);
  void ChooseFolder(size_t entry);
  void LayOut();
  void Finish();

  AppContext& context_;
  Options options_;
  std::vector<Row> rows_;
  QPushButton* default_button_ = nullptr;
  QPushButton* apply_button_ = nullptr;
  QPushButton* cancel_button_ = nullptr;
  QScrollArea* area_ = nullptr;
  QWidget* content_ = nullptr;
  bool finished_ = false;
};

}  // namespace tw

#endif  // TUNEWRIGHT_APP_PREFERENCES_WINDOW_H_
