// The player in the main window on short songs of the demo library, playing in real time on
// the null device.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "app/core/app_context.h"
#include "app/core/startup.h"
#include "app/main_window.h"
#include "app/player.h"
#include "library/core/demo_library.h"
#include "library/core/demo_song.h"
#include "playlist/playlist_parser.h"
#include "playlist/song_play_time.h"
#include "support/screenshots.h"
#include "support/scripted_dialogs.h"
#include "support/temp_root.h"

namespace tw {
namespace {

using testing::ScriptedDialogs;

// Runs the event loop for `ms` milliseconds: the mix plays in real time.
void Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// Runs the event loop until `done` holds, for at most `seconds`.
template <typename F>
bool Until(F done, int seconds = 30) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > seconds * 1000) return false;
    Wait(20);
  }
  return true;
}

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Startup(context_, {}));
    std::vector<demo::DemoSong> songs;
    for (int i : {0, 4, 5, 7}) {
      demo::DemoSong s = demo::DemoSongs()[static_cast<size_t>(i)];
      s.body_phrases = 1;
      s.skip_phrases = 0;
      songs.push_back(s);
    }
    QString error;
    ASSERT_EQ(CreateDemoLibrary(context_.paths, context_.databases, songs, &error), 4)
        << error.toStdString();
    LoadSession(context_);
    ASSERT_TRUE(StartAudio(context_, engine::OutputChoice::kNull).isEmpty());

    auto forward = [this](auto call) {
      return [this, call](auto... args) {
        if (player_) call(*player_, args...);
      };
    };
    MainWindow::Handlers h;
    h.command = forward([](Player& p, MainCommand c) { p.Command(c); });
    h.previous = forward([](Player& p) { p.Previous(); });
    h.play = forward([](Player& p) { p.Play(); });
    h.pause = forward([](Player& p) { p.Pause(); });
    h.stop = forward([](Player& p) { p.Stop(); });
    h.next = forward([](Player& p) { p.Next(); });
    h.row_selected = forward([](Player& p, int row) { p.RowSelected(row); });
    h.row_double_clicked = forward([](Player& p) { p.RowDoubleClicked(); });
    h.seek = forward([](Player& p, int value) { p.Seek(value); });
    h.set_volume = [this](float v) { context_.audio.SetMainVolume(v); };
    h.set_dynamics = [this](bool on) { context_.audio.SetDynamicAmplification(on); };
    window_ = std::make_unique<MainWindow>(context_, h, false, QSize(1280, 800));
    player_ = std::make_unique<Player>(context_, *window_);
    // The running times the generator would write.
    Playlist parsed;
    ASSERT_TRUE(ParsePlaylistText(context_.databases.song_database, "1R,2,3,4|1,1,1,1", parsed));
    QStringList times;
    for (int i = 0; i < 4; ++i) {
      const PlaylistEntry& e = parsed.entries[static_cast<size_t>(i)];
      const int position = i == 0 ? kFirstSong : i == 3 ? kLastSong : kMiddleSong;
      times << QString::number(
          SongPlayTime(position, e.introend, e.breakend, e.breakloopstart, e.breakloopend,
                       e.breaklooprepeat, AudioFolder(context_) + e.filename, EngineSongLength()),
          'f', 2);
    }
    context_.preferences.IDs = "1R,2,3,4|" + times.join(',');
    player_->RestoreSession();
    context_.session_cue = true;
    window_->show();
  }

  void TearDown() override {
    player_.reset();
    window_.reset();
  }

  QString Line(int i) const { return window_->NowPlayingLine(i)->text(); }

  testing::TempRoot root_;
  ScriptedDialogs dialogs_;
  AppContext context_{root_.Path(), dialogs_};
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<Player> player_;
};

TEST_F(PlayerTest, PlaysAMixThroughATransition) {
  ASSERT_EQ(window_->PlaylistList()->topLevelItemCount(), 4);
  EXPECT_EQ(window_->SelectedRow(), 0);
  EXPECT_EQ(Line(0), "Harbour Lights - Low Tide");
  EXPECT_FALSE(window_->FlagImage()->isHidden());

  window_->PlayButton()->click();
  EXPECT_TRUE(window_->PlayButton()->isHidden());
  EXPECT_FALSE(window_->PauseButton()->isHidden());
  // Near the end of the part that plays alone, then the transition.
  QSlider* slider = window_->PositionSlider();
  slider->setValue(slider->maximum() - 1500);
  ASSERT_TRUE(Until([&] { return player_->transition_shown(); }));
  EXPECT_TRUE(slider->isHidden());
  EXPECT_FALSE(window_->FadeSlider()->isHidden());
  EXPECT_EQ(window_->ElapsedLabel()->text(), "Mixing");
  ASSERT_TRUE(Until([&] { return window_->FadeSlider()->value() > 500; }));
  testing::MaybeSaveScreenshot(*window_, "main_window_transition");

  // Pause freezes the transition clock; Play resumes it where it stood.
  window_->PauseButton()->click();
  const int frozen = window_->FadeSlider()->value();
  Wait(400);
  EXPECT_EQ(window_->FadeSlider()->value(), frozen);
  window_->PlayButton()->click();
  ASSERT_TRUE(Until([&] { return window_->FadeSlider()->value() > frozen + 100; }));
  EXPECT_LT(window_->FadeSlider()->value(), frozen + 2000);

  // The hand-over: the next song is now playing and selected.
  ASSERT_TRUE(Until([&] { return !player_->transition_shown(); }, 40));
  EXPECT_EQ(Line(0), "Lumen Drift - Still Water Run");
  EXPECT_EQ(window_->SelectedRow(), 1);
  EXPECT_FALSE(slider->isHidden());

  window_->StopButton()->click();
  EXPECT_FALSE(window_->PlayButton()->isHidden());
  EXPECT_EQ(context_.scheduler.View().current.entry.track, 2);
  EXPECT_TRUE(dialogs_.Messages().empty());
}

TEST_F(PlayerTest, NextAndPreviousCueTheNeighbouringRows) {
  window_->NextButton()->click();
  EXPECT_EQ(window_->SelectedRow(), 1);
  EXPECT_EQ(context_.scheduler.View().current.entry.track, 2);
  window_->PlayButton()->click();
  window_->NextButton()->click();
  EXPECT_EQ(context_.scheduler.View().current.entry.track, 3);
  EXPECT_EQ(context_.audio.engine().State(context_.audio.main_mixer()),
            engine::PlayState::kPlaying);
  window_->PreviousButton()->click();
  window_->PreviousButton()->click();
  window_->PreviousButton()->click();  // nothing before the first row
  EXPECT_EQ(window_->SelectedRow(), 0);
  EXPECT_EQ(context_.scheduler.View().current.entry.track, 1);
}

TEST_F(PlayerTest, ExportsThroughTheRequesterWithProgressAndRestoresPlayback) {
  const QString exports = root_.File("exports");
  dialogs_.ChooseNext(exports + "/mix.wav");  // refused, asked again
  dialogs_.AnswerNext(DialogAnswer::kOk);
  root_.Write("exports/old.mp3", "old");
  dialogs_.ChooseNext(exports + "/old.mp3");
  dialogs_.AnswerNext(DialogAnswer::kNo);  // asked again
  dialogs_.ChooseNext(exports + "/mix.mp3");
  window_->VolumeSlider()->setValue(40);
  player_->Command(MainCommand::kExportMix);
  ASSERT_TRUE(player_->exporting());
  ASSERT_NE(player_->ExportWindow(), nullptr);
  EXPECT_EQ(player_->ExportWindow()->windowTitle(), "Tunewright - Export mix to audiofile");
  EXPECT_FALSE(window_->isEnabled());
  ASSERT_TRUE(Until([&] { return !player_->exporting(); }, 120));
  EXPECT_TRUE(window_->isEnabled());

  const std::vector<QString> messages = dialogs_.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "Saving error|Audiofile must have mp3-extension.");
  EXPECT_TRUE(messages[1].startsWith("Save mix warning|File old.mp3 already exists."));
  EXPECT_GT(QFile(exports + "/mix.mp3").size(), 100000);
  EXPECT_EQ(root_.Read("exports/mix.txt").count("\r\n"), 4);
  EXPECT_EQ(root_.Read("exports/old.mp3"), "old");
  // A playing mixer again, at the slider's volume, with the selected row cued.
  EXPECT_EQ(context_.scheduler.mixer(), context_.audio.main_mixer());
  EXPECT_EQ(context_.scheduler.View().current.entry.track, 1);
  window_->PlayButton()->click();
  EXPECT_EQ(context_.audio.engine().State(context_.audio.main_mixer()),
            engine::PlayState::kPlaying);
}

}  // namespace
}  // namespace tw
