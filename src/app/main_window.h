#ifndef TUNEWRIGHT_APP_MAIN_WINDOW_H_
#define TUNEWRIGHT_APP_MAIN_WINDOW_H_

#include <array>
#include <functional>
#include <vector>

#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QMenu;
class QSlider;
class QToolButton;
class QTreeWidget;

namespace tw {

struct AppContext;

// The commands of the popup menu, in menu order.
enum class MainCommand {
  kLoadPlaylist,
  kSavePlaylist,
  kExportMix,
  kRandomPlaylist,
  kCustomPlaylist,
  kMusicLibrary,
  kDatabase,
  kPreferences,
  kHelp,
  kAbout,
  kExit,
};
inline constexpr int kMainCommandCount = 11;

// The player window: transport row, position slider and times on top, the playlist list,
// the now-playing panel below. It owns no rules: commands, transport buttons and list events
// go to the handlers it is given, which later layers (playlist, scheduler, transport) supply.
class MainWindow : public QWidget {
 public:
  struct Handlers {
    std::function<void(MainCommand)> command;  // menu items and shortcuts not handled here
    std::function<void()> previous, play, pause, stop, next;
    std::function<void(float)> set_volume;   // MainMixer volume: slider value / 100
    std::function<void(bool)> set_dynamics;  // add (true) or remove the dynamic amplification
    std::function<void(int)> row_selected;   // a playlist row became selected
    std::function<void()> row_double_clicked;
    std::function<void(int)> seek;   // the position slider's value changed
    std::function<void()> shutdown;  // the window closed with no secondary window open
  };

  MainWindow(AppContext& context, Handlers handlers, bool youtube_size, QSize desktop);

  // The size rule: 1280 x 720 for "youtube", 1000 x 700 on desktops above 1000 x 700, else
  // 680 x 440.
  static QSize InitialSize(bool youtube_size, QSize desktop);
  // The "Song" column: the list width less 380 when the list is narrower than 851 pixels,
  // else less 520.
  static int SongColumnWidth(int list_width);

  bool dark_theme() const { return dark_; }
  // Runs a menu command as the menu or its shortcut would.
  void Run(MainCommand command);
  // Opens a window that disables this one until it closes; the main window refuses to close
  // while any is open.
  void TrackSecondary(QWidget* window);
  bool HasOpenSecondary() const;
  // Applies the layout rules to the current size (also on every resize).
  void LayOut();

  QTreeWidget* PlaylistList() const { return list_; }
  // The selected playlist row, -1 when none is.
  int SelectedRow() const;
  QMenu* Menu() const { return menu_; }
  QToolButton* MenuButton() const { return menu_button_; }
  QToolButton* PlayButton() const { return play_; }
  QToolButton* PauseButton() const { return pause_; }
  QToolButton* PreviousButton() const { return previous_; }
  QToolButton* StopButton() const { return stop_; }
  QToolButton* NextButton() const { return next_; }
  QToolButton* DynamicsOnButton() const { return dynamics_on_; }
  QToolButton* DynamicsOffButton() const { return dynamics_off_; }
  QToolButton* VolumeButton() const { return volume_button_; }
  QSlider* VolumeSlider() const { return volume_slider_; }
  QSlider* PositionSlider() const { return position_slider_; }
  QSlider* FadeSlider() const { return fade_slider_; }
  QLabel* ElapsedLabel() const { return elapsed_; }
  QLabel* RemainingLabel() const { return remaining_; }
  QLabel* SleeveImage() const { return sleeve_; }
  QLabel* FlagImage() const { return flag_; }
  QLineEdit* NowPlayingLine(int i) const { return lines_[i]; }
  QLabel* LevelMeter() const { return level_meter_; }
  // Selects a playlist row, scrolls it to the top of the list and focuses the list; with
  // `cue` the selection is handled as the user's (the row's song is cued).
  void SelectRow(int row, bool cue);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QToolButton* ImageButton(int icon, const QString& tooltip, const QRect& geometry);
  void BuildMenu();
  void ToggleDynamics(bool on);
  void ToggleVolumeSlider();

  AppContext& context_;
  Handlers handlers_;
  bool dark_ = false;
  QToolButton* menu_button_ = nullptr;
  QToolButton* previous_ = nullptr;
  QToolButton* play_ = nullptr;
  QToolButton* pause_ = nullptr;
  QToolButton* stop_ = nullptr;
  QToolButton* next_ = nullptr;
  QToolButton* dynamics_on_ = nullptr;
  QToolButton* dynamics_off_ = nullptr;
  QToolButton* volume_button_ = nullptr;
  QSlider* volume_slider_ = nullptr;
  QSlider* position_slider_ = nullptr;
  QSlider* fade_slider_ = nullptr;
  QLabel* elapsed_ = nullptr;
  QLabel* remaining_ = nullptr;
  QTreeWidget* list_ = nullptr;
  QLabel* sleeve_ = nullptr;
  std::array<QLineEdit*, 3> lines_{};
  QLabel* flag_ = nullptr;
  QLabel* level_meter_ = nullptr;
  bool quiet_selection_ = false;
  QMenu* menu_ = nullptr;
  std::vector<QPointer<QWidget>> secondary_;
};

}  // namespace tw

#endif  // TUNEWRIGHT_APP_MAIN_WINDOW_H_
