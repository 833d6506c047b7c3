#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>

#include "app/about_window.h"
#include "app/core/app_context.h"
#include "app/core/theme_rule.h"
#include "app/icons.h"
#include "app/preferences_window.h"

namespace tw {
namespace {

struct MenuItem {
  MainCommand command;
  const char* text;
  const char* shortcut;
  IconId icon;
};

constexpr MenuItem kMenu[kMainCommandCount] = {
    {MainCommand::kLoadPlaylist, "&Load playlist\tCtrl+L", "Ctrl+L", IconId::kLoad},
    {MainCommand::kSavePlaylist, "&Save playlist\tCtrl+S", "Ctrl+S", IconId::kSave},
    {MainCommand::kExportMix, "&Export mix to audiofile\tCtrl+E", "Ctrl+E", IconId::kExport},
    {MainCommand::kRandomPlaylist, "Create &random playlist\tCtrl+R", "Ctrl+R", IconId::kRandom},
    {MainCommand::kCustomPlaylist, "Create &custom playlist\tCtrl+C", "Ctrl+C", IconId::kCustom},
    {MainCommand::kMusicLibrary, "&Music library\tCtrl+M", "Ctrl+M", IconId::kLibrary},
    {MainCommand::kDatabase, "&Database\tCtrl+D", "Ctrl+D", IconId::kDatabase},
    {MainCommand::kPreferences, "&Preferences\tCtrl+P", "Ctrl+P", IconId::kPreferences},
    {MainCommand::kHelp, "&Help\tCtrl+H", "Ctrl+H", IconId::kHelp},
    {MainCommand::kAbout, "&About\tCtrl+A", "Ctrl+A", IconId::kAbout},
    {MainCommand::kExit, "E&xit\tCtrl+X", "Ctrl+X", IconId::kExit},
};

void Call(const std::function<void()>& f) {
  if (f) f();
}

}  // namespace

QSize MainWindow::InitialSize(bool youtube_size, QSize desktop) {
  if (youtube_size) return {1280, 720};
  if (desktop.width() > 1000 && desktop.height() > 700) return {1000, 700};
  return {680, 440};
}

int MainWindow::SongColumnWidth(int list_width) {
  return list_width < 851 ? list_width - 380 : list_width - 520;
}

MainWindow::MainWindow(AppContext& context, Handlers handlers, bool youtube_size, QSize desktop)
    : QWidget(nullptr, Qt::Window), context_(context), handlers_(std::move(handlers)) {
  setWindowTitle("Tunewright");
  setMinimumSize(680, 440);
  resize(InitialSize(youtube_size, desktop));
  const QColor background = palette().color(QPalette::Window);
  dark_ = IsDarkBackground(background.red(), background.green(), background.blue());
  setWindowIcon(MakeIcon(IconId::kPlay, dark_));
  setAutoFillBackground(true);

  const int w = width();
  const int h = height();
  const QFont interface_font(context_.interface_font_family, 10);

  menu_button_ = ImageButton(static_cast<int>(IconId::kMenu), "Menu", {10, 15, 18, 22});
  // A click on the button while the menu is open only closes the menu.
  menu_button_->setAttribute(Qt::WA_NoMouseReplay);
  BuildMenu();
  connect(menu_button_, &QToolButton::clicked, this, [this] {
    if (!menu_->isVisible()) menu_->popup(mapToGlobal(QPoint(3, 86)));
  });
  previous_ = ImageButton(static_cast<int>(IconId::kPrevious), "Previous", {90, 15, 25, 25});
  play_ = ImageButton(static_cast<int>(IconId::kPlay), "Play", {125, 17, 25, 21});
  pause_ = ImageButton(static_cast<int>(IconId::kPause), "Pause", {125, 15, 25, 25});
  stop_ = ImageButton(static_cast<int>(IconId::kStop), "Stop", {160, 15, 25, 25});
  next_ = ImageButton(static_cast<int>(IconId::kNext), "Next", {200, 15, 25, 25});
  dynamics_on_ = ImageButton(static_cast<int>(IconId::kDynamicsOn), "Enable dynamic amplitude",
                             {245, 15, 25, 22});
  dynamics_off_ = ImageButton(static_cast<int>(IconId::kDynamicsOff), "Disable dynamic amplitude",
                              {245, 15, 25, 25});
  volume_button_ = ImageButton(static_cast<int>(IconId::kVolume), "Volume", {285, 15, 23, 23});
  connect(previous_, &QToolButton::clicked, this, [this] { Call(handlers_.previous); });
  connect(play_, &QToolButton::clicked, this, [this] { Call(handlers_.play); });
  connect(pause_, &QToolButton::clicked, this, [this] { Call(handlers_.pause); });
  connect(stop_, &QToolButton::clicked, this, [this] { Call(handlers_.stop); });
  connect(next_, &QToolButton::clicked, this, [this] { Call(handlers_.next); });
  connect(dynamics_on_, &QToolButton::clicked, this, [this] { ToggleDynamics(true); });
  connect(dynamics_off_, &QToolButton::clicked, this, [this] { ToggleDynamics(false); });
  connect(volume_button_, &QToolButton::clicked, this, [this] { ToggleVolumeSlider(); });

  volume_slider_ = new QSlider(Qt::Horizontal, this);
  volume_slider_->setRange(0, 150);
  volume_slider_->setValue(75);
  volume_slider_->setGeometry(320, 15, 50, 20);
  connect(volume_slider_, &QSlider::valueChanged, this, [this](int value) {
    if (handlers_.set_volume) handlers_.set_volume(value / 100.0f);
  });
  position_slider_ = new QSlider(Qt::Horizontal, this);
  position_slider_->setRange(0, 0);
  position_slider_->setGeometry(440, 15, w - 510, 20);
  connect(position_slider_, &QSlider::valueChanged, this, [this](int value) {
    if (handlers_.seek) handlers_.seek(value);
  });
  fade_slider_ = new QSlider(Qt::Horizontal, this);
  fade_slider_->setGeometry(position_slider_->geometry());

  elapsed_ = new QLabel("00:00", this);
  elapsed_->setGeometry(390, 15, 40, 20);
  elapsed_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  elapsed_->setFont(interface_font);
  remaining_ = new QLabel("-00:00", this);
  remaining_->setGeometry(w - 60, 15, 40, 20);
  remaining_->setFont(interface_font);

  list_ = new QTreeWidget(this);
  list_->setRootIsDecorated(false);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setAllColumnsShowFocus(true);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list_->header()->setStretchLastSection(false);
  list_->setHeaderLabels(
      {"Track", "Song", "Play time", "Incr. time", "Original BPM", "Playback BPM", "Pitch"});
  const int widths[] = {50, 0, 80, 80, 110, 110, 80};
  for (int c = 0; c < 7; ++c) list_->setColumnWidth(c, widths[c]);
  list_->setFont(interface_font);
  list_->setGeometry(0, 55, w, h - 200);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
    const auto selected = list_->selectedItems();
    if (selected.isEmpty() || quiet_selection_ || !context_.session_cue ||
        !handlers_.row_selected) {
      return;
    }
    handlers_.row_selected(list_->indexOfTopLevelItem(selected.first()));
  });
  connect(list_, &QTreeWidget::itemDoubleClicked, this,
          [this] { Call(handlers_.row_double_clicked); });

  sleeve_ = new QLabel(this);
  sleeve_->setGeometry(20, h - 120, 70, 70);
  sleeve_->setScaledContents(true);
  QFont line_font(context_.interface_font_family, 14);
  line_font.setBold(true);
  line_font.setCapitalization(QFont::AllUppercase);
  const int list_bottom = list_->geometry().bottom() + 1;
  for (int i = 0; i < 3; ++i) {
    lines_[i] = new QLineEdit(this);
    lines_[i]->setReadOnly(true);
    lines_[i]->setFrame(false);
    lines_[i]->setFont(line_font);
    lines_[i]->setFocusPolicy(Qt::NoFocus);
    lines_[i]->setStyleSheet("background: " + background.name());
    lines_[i]->setGeometry(130, list_bottom + 33 + 30 * i, 400, 25);
  }
  flag_ = new QLabel(this);
  flag_->setGeometry(130, list_bottom + 93, 40, 40);
  level_meter_ = new QLabel(this);
  level_meter_->setGeometry(w - 110, h - 75, 100, 50);

  for (QWidget* hidden :
       {static_cast<QWidget*>(pause_), static_cast<QWidget*>(dynamics_off_),
        static_cast<QWidget*>(volume_slider_), static_cast<QWidget*>(fade_slider_),
        static_cast<QWidget*>(flag_), static_cast<QWidget*>(level_meter_)}) {
    hidden->hide();
  }
  fade_slider_->setEnabled(false);
  sleeve_->hide();  // shown once a song with a sleeve plays
  LayOut();
}

void MainWindow::SelectRow(int row, bool cue) {
  QTreeWidgetItem* item = list_->topLevelItem(row);
  if (!item) return;
  quiet_selection_ = !cue;
  list_->setCurrentItem(item);
  item->setSelected(true);
  quiet_selection_ = false;
  list_->scrollToItem(item, QAbstractItemView::PositionAtTop);
  list_->setFocus();
}

QToolButton* MainWindow::ImageButton(int icon, const QString& tooltip, const QRect& geometry) {
  auto* button = new QToolButton(this);
  button->setIcon(MakeIcon(static_cast<IconId>(icon), dark_));
  button->setIconSize(geometry.size() - QSize(4, 4));
  button->setAutoRaise(true);
  button->setToolTip(tooltip);
  button->setGeometry(geometry);
  return button;
}

void MainWindow::BuildMenu() {
  menu_ = new QMenu(this);
  for (const MenuItem& item : kMenu) {
    QString text = QString::fromLatin1(item.text).section('\t', 0, 0);
    QAction* action = menu_->addAction(MakeIcon(item.icon, dark_), text);
    action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
    action->setShortcutContext(Qt::WindowShortcut);
    const MainCommand command = item.command;
    connect(action, &QAction::triggered, this, [this, command] { Run(command); });
    addAction(action);  // the shortcuts work while the main window is active
  }
}

void MainWindow::Run(MainCommand command) {
  switch (command) {
    case MainCommand::kPreferences: {
      PreferencesWindow::Options options;
      options.opener = this;
      options.playlist_rows = [this] { return list_->topLevelItemCount(); };
      options.dark_background = dark_;
      TrackSecondary(PreferencesWindow::Open(context_, options));
      return;
    }
    case MainCommand::kAbout:
      TrackSecondary(AboutWindow::Open(this, context_.interface_font_family, dark_,
                                       HelpAddress(context_.paths.Root())));
      return;
    case MainCommand::kHelp:
      OpenHelp(context_.paths.Root());
      return;
    case MainCommand::kExit:
      close();
      return;
    default:
      if (handlers_.command) handlers_.command(command);
  }
}

int MainWindow::SelectedRow() const {
  const auto selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.first());
}

void MainWindow::TrackSecondary(QWidget* window) { secondary_.emplace_back(window); }

bool MainWindow::HasOpenSecondary() const {
  for (const QPointer<QWidget>& w : secondary_) {
    if (w && w->isVisible()) return true;
  }
  return false;
}

void MainWindow::ToggleDynamics(bool on) {
  if (handlers_.set_dynamics) handlers_.set_dynamics(on);
  dynamics_on_->setVisible(!on);
  dynamics_off_->setVisible(on);
}

void MainWindow::ToggleVolumeSlider() {
  if (volume_slider_->isHidden()) {
    volume_slider_->show();
    volume_slider_->setFocus();
  } else {
    volume_slider_->hide();
  }
}

void MainWindow::LayOut() {
  const int w = width();
  const int h = height();
  list_->setGeometry(0, 55, w, h - 200);
  list_->setColumnWidth(1, SongColumnWidth(w));
  position_slider_->resize(w - 510, 20);
  fade_slider_->resize(w - 510, 20);
  remaining_->move(w - 60, 15);
  level_meter_->move(w - 110, h - 75);

  const int list_bottom = 55 + h - 200;
  const bool sleeve = !sleeve_->isHidden();
  const bool flag = !flag_->isHidden();
  const int x = sleeve ? 130 : 20;
  for (int i = 0; i < 3; ++i) lines_[i]->setGeometry(x, list_bottom + 33 + 30 * i, w - 280, 25);
  if (sleeve) sleeve_->move(20, h - 120);
  if (flag) {
    lines_[2]->setGeometry(x + 40, list_bottom + 93, sleeve ? w - 320 : w - 230, 25);
    flag_->move(x, list_bottom + 93);
  }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (list_) LayOut();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (HasOpenSecondary()) {
    event->ignore();
    return;
  }
  event->accept();
  Call(handlers_.shutdown);
}

}  // namespace tw
