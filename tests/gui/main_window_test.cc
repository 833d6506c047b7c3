#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "app/core/app_context.h"
#include "app/core/startup.h"
#include "support/screenshots.h"
#include "support/scripted_dialogs.h"
#include "support/temp_root.h"

namespace tw {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Startup(context_, {})); }
  MainWindow& Make(QSize desktop = {1280, 800}) {
    handlers_.set_volume = [this](float v) { volumes_.push_back(v); };
    handlers_.set_dynamics = [this](bool on) { dynamics_.push_back(on); };
    handlers_.row_selected = [this](int row) { cued_.push_back(row); };
    handlers_.command = [this](MainCommand c) { commands_.push_back(c); };
    handlers_.shutdown = [this] { ++shutdowns_; };
    window_ = std::make_unique<MainWindow>(context_, handlers_, false, desktop);
    window_->show();
    LoadSession(context_);
    return *window_;
  }
  void AddRows(int n) {
    for (int i = 0; i < n; ++i) {
      window_->PlaylistList()->addTopLevelItem(new QTreeWidgetItem({QString::number(i + 1)}));
    }
  }

  testing::TempRoot root_;
  testing::ScriptedDialogs dialogs_;
  AppContext context_{root_.Path(), dialogs_};
  MainWindow::Handlers handlers_;
  std::unique_ptr<MainWindow> window_;
  std::vector<float> volumes_;
  std::vector<bool> dynamics_;
  std::vector<int> cued_;
  std::vector<MainCommand> commands_;
  int shutdowns_ = 0;
};

TEST(MainWindowRules, SizeAndSongColumn) {
  EXPECT_EQ(MainWindow::InitialSize(true, {800, 600}), QSize(1280, 720));
  EXPECT_EQ(MainWindow::InitialSize(false, {1024, 768}), QSize(1000, 700));
  EXPECT_EQ(MainWindow::InitialSize(false, {1000, 768}), QSize(680, 440));
  EXPECT_EQ(MainWindow::InitialSize(false, {1920, 700}), QSize(680, 440));
  EXPECT_EQ(MainWindow::SongColumnWidth(850), 470);
  EXPECT_EQ(MainWindow::SongColumnWidth(851), 331);
  EXPECT_EQ(MainWindow::SongColumnWidth(1000), 480);
}

TEST_F(MainWindowTest, ControlsStartAsTheTableSays) {
  MainWindow& w = Make();
  EXPECT_EQ(w.windowTitle(), "Tunewright");
  EXPECT_EQ(w.size(), QSize(1000, 700));
  EXPECT_EQ(w.minimumSize(), QSize(680, 440));
  EXPECT_EQ(w.MenuButton()->geometry(), QRect(10, 15, 18, 22));
  EXPECT_EQ(w.PlayButton()->toolTip(), "Play");
  EXPECT_EQ(w.PositionSlider()->geometry(), QRect(440, 15, 1000 - 510, 20));
  EXPECT_EQ(w.RemainingLabel()->geometry(), QRect(1000 - 60, 15, 40, 20));
  EXPECT_EQ(w.ElapsedLabel()->text(), "00:00");
  EXPECT_EQ(w.RemainingLabel()->text(), "-00:00");
  EXPECT_EQ(w.PlaylistList()->geometry(), QRect(0, 55, 1000, 500));
  EXPECT_EQ(w.PlaylistList()->columnWidth(1), 480);
  EXPECT_EQ(w.PlaylistList()->headerItem()->text(5), "Playback BPM");
  for (QWidget* hidden :
       {static_cast<QWidget*>(w.PauseButton()), static_cast<QWidget*>(w.DynamicsOffButton()),
        static_cast<QWidget*>(w.VolumeSlider()), static_cast<QWidget*>(w.FadeSlider()),
        static_cast<QWidget*>(w.FlagImage()), static_cast<QWidget*>(w.LevelMeter())}) {
    EXPECT_TRUE(hidden->isHidden());
  }
  EXPECT_FALSE(w.FadeSlider()->isEnabled());
  EXPECT_EQ(w.VolumeSlider()->value(), 75);
  EXPECT_EQ(w.VolumeSlider()->maximum(), 150);
  testing::MaybeSaveScreenshot(w, "main_window");
}

TEST_F(MainWindowTest, MenuHasElevenCommandsWithShortcuts) {
  MainWindow& w = Make();
  const QList<QAction*> actions = w.Menu()->actions();
  ASSERT_EQ(actions.size(), kMainCommandCount);
  const char* texts[] = {"&Load playlist",
                         "&Save playlist",
                         "&Export mix to audiofile",
                         "Create &random playlist",
                         "Create &custom playlist",
                         "&Music library",
                         "&Database",
                         "&Preferences",
                         "&Help",
                         "&About",
                         "E&xit"};
  const char* keys[] = {"Ctrl+L", "Ctrl+S", "Ctrl+E", "Ctrl+R", "Ctrl+C", "Ctrl+M",
                        "Ctrl+D", "Ctrl+P", "Ctrl+H", "Ctrl+A", "Ctrl+X"};
  for (int i = 0; i < kMainCommandCount; ++i) {
    EXPECT_EQ(actions[i]->text(), texts[i]);
    EXPECT_EQ(actions[i]->shortcut(), QKeySequence(keys[i]));
    EXPECT_FALSE(actions[i]->icon().isNull());
  }
  actions[3]->trigger();
  EXPECT_EQ(commands_, std::vector<MainCommand>{MainCommand::kRandomPlaylist});
}

TEST_F(MainWindowTest, VolumeAndDynamicsButtons) {
  MainWindow& w = Make();
  w.VolumeButton()->click();
  EXPECT_TRUE(w.VolumeSlider()->isVisible());
  w.VolumeSlider()->setValue(150);
  w.VolumeSlider()->setValue(0);
  EXPECT_EQ(volumes_, (std::vector<float>{1.5f, 0.0f}));
  w.VolumeButton()->click();
  EXPECT_TRUE(w.VolumeSlider()->isHidden());

  w.DynamicsOnButton()->click();
  EXPECT_TRUE(w.DynamicsOnButton()->isHidden());
  EXPECT_TRUE(w.DynamicsOffButton()->isVisible());
  w.DynamicsOffButton()->click();
  EXPECT_TRUE(w.DynamicsOnButton()->isVisible());
  EXPECT_EQ(dynamics_, (std::vector<bool>{true, false}));
}

TEST_F(MainWindowTest, SelectionCuesOnlyOnceTheSessionIsRestored) {
  MainWindow& w = Make();
  context_.session_cue = false;
  AddRows(3);
  w.PlaylistList()->setCurrentItem(w.PlaylistList()->topLevelItem(1));
  EXPECT_TRUE(cued_.empty());
  context_.session_cue = true;
  w.PlaylistList()->setCurrentItem(w.PlaylistList()->topLevelItem(2));
  EXPECT_EQ(cued_, std::vector<int>{2});
  EXPECT_EQ(w.SelectedRow(), 2);
}

TEST_F(MainWindowTest, ClosingWaitsForSecondaryWindows) {
  MainWindow& w = Make();
  w.Run(MainCommand::kAbout);
  EXPECT_FALSE(w.isEnabled());
  EXPECT_FALSE(w.close());
  EXPECT_EQ(shutdowns_, 0);
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->windowTitle() == "Tunewright - About") top->close();
  }
  EXPECT_TRUE(w.isEnabled());
  EXPECT_TRUE(w.close());
  EXPECT_EQ(shutdowns_, 1);
}

TEST_F(MainWindowTest, PanelFollowsSleeveAndFlag) {
  MainWindow& w = Make();
  const int bottom = 55 + 500;
  EXPECT_EQ(w.NowPlayingLine(0)->geometry(), QRect(20, bottom + 33, 1000 - 280, 25));
  w.FlagImage()->show();
  w.LayOut();
  EXPECT_EQ(w.NowPlayingLine(2)->geometry(), QRect(60, bottom + 93, 1000 - 230, 25));
  EXPECT_EQ(w.FlagImage()->pos(), QPoint(20, bottom + 93));
  w.SleeveImage()->show();
  w.resize(800, 600);
  const int small_bottom = 55 + 400;
  EXPECT_EQ(w.NowPlayingLine(1)->geometry(), QRect(130, small_bottom + 63, 800 - 280, 25));
  EXPECT_EQ(w.NowPlayingLine(2)->geometry(), QRect(170, small_bottom + 93, 800 - 320, 25));
  EXPECT_EQ(w.FlagImage()->pos(), QPoint(130, small_bottom + 93));
  EXPECT_EQ(w.SleeveImage()->pos(), QPoint(20, 600 - 120));
  EXPECT_EQ(w.PlaylistList()->columnWidth(1), 800 - 380);
}

}  // namespace
}  // namespace tw
