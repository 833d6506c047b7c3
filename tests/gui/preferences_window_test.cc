#include "app/preferences_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>

#include <gtest/gtest.h>

#include "app/core/app_context.h"
#include "app/core/startup.h"
#include "support/screenshots.h"
#include "support/scripted_dialogs.h"
#include "support/temp_root.h"

namespace tw {
namespace {

// Catalogue positions.
constexpr size_t kAudioFolder = 0, kMinSongs = 2, kMaxSongs = 3, kMinTime = 4, kMaxTime = 5,
                 kShorten = 6, kCountries = 17, kYears = 19;

class PreferencesWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Startup(context_, {}));
    Database& songs = context_.databases.song_database;
    songs.Execute("INSERT INTO music (country, year) VALUES ('Germany', 1999)");
    songs.Execute("INSERT INTO music (country, year) VALUES ('UK', 0)");
    songs.Execute("INSERT INTO music (country, year) VALUES ('USA', 2001)");
    songs.Execute("INSERT INTO music (country) VALUES ('Spain')");
    context_.databases.file_catalogue.Execute(
        "INSERT INTO files (added, file, folder, bpm) VALUES ('No', 'a.mp3', '/m/', '120.00')");
    LoadSession(context_);
    opener_.resize(700, 500);
    opener_.show();
  }
  void TearDown() override {
    if (window_) window_->close();
  }
  PreferencesWindow* Open(int rows = 0) {
    PreferencesWindow::Options options;
    options.opener = &opener_;
    options.playlist_rows = [rows] { return rows; };
    window_ = PreferencesWindow::Open(context_, options);
    return window_;
  }
  QString Stored(const char* group, const char* key) {
    IniFile ini;
    ini.Load(context_.paths.PreferencesFile());
    return ini.Value(group, key, "<missing>");
  }
  int64_t CatalogueRows() {
    return context_.databases.file_catalogue.LookupInteger("SELECT COUNT(id) FROM files");
  }

  testing::TempRoot root_;
  testing::ScriptedDialogs dialogs_;
  AppContext context_{root_.Path(), dialogs_};
  QWidget opener_;
  QPointer<PreferencesWindow> window_;
};

TEST_F(PreferencesWindowTest, BuildsOneRowPerEntryAndDisablesItsOpener) {
  PreferencesWindow* w = Open();
  EXPECT_EQ(w->windowTitle(), "Tunewright - Preferences");
  EXPECT_FALSE(opener_.isEnabled());
  EXPECT_EQ(w->size(), opener_.size());
  EXPECT_EQ(w->ApplyButton()->geometry(), QRect(700 - 250, 10, 100, 30));
  EXPECT_EQ(w->CancelButton()->geometry(), QRect(700 - 130, 10, 100, 30));
  EXPECT_EQ(w->DefaultButton()->geometry(), QRect(10, 10, 100, 30));
  EXPECT_EQ(w->Folder(kAudioFolder)->geometry(), QRect(260, 30, 700 - 340, 30));
  EXPECT_EQ(w->FolderButton(kAudioFolder)->toolTip(), "Choose folder");
  EXPECT_EQ(w->Choice(kShorten)->currentText(), "Random");
  EXPECT_EQ(w->Choice(kShorten)->toolTip(), context_.catalogue[kShorten].help);
  EXPECT_EQ(w->Label(kCountries)->text(), "Countries\n(0 items selected)");
  QStringList years;
  for (int i = 0; i < w->Choices(kYears)->count(); ++i)
    years << w->Choices(kYears)->item(i)->text();
  EXPECT_EQ(years, QStringList({"1999", "2001"}));  // never "0"
  // The scrolling area: 2 folders and 15 choices of 45, 5 lists of 135, 7 groups of 30.
  auto* area = w->findChild<QScrollArea*>();
  EXPECT_EQ(area->widget()->size(), QSize(700 - 22, 80 + 45 * 17 + 135 * 5 + 30 * 7));
  testing::MaybeSaveScreenshot(*w, "preferences");
  w->resize(900, 600);
  EXPECT_EQ(w->ApplyButton()->x(), 900 - 250);
  EXPECT_EQ(w->Choice(kShorten)->width(), 900 - 300);
  EXPECT_EQ(w->FolderButton(kAudioFolder)->x(), 900 - 70);
}

TEST_F(PreferencesWindowTest, OpensWithTheStoredValues) {
  root_.Write("assets/data/tunewright.ini",
              "[Filter]\r\nCountries = germany|italy|spain\r\n[Song length]\r\n"
              "Shorten_songs = Never\r\n[Repeating]\r\nUnique_songs_before_repeating = 7\r\n");
  PreferencesWindow* w = Open();
  EXPECT_EQ(w->Choice(kShorten)->currentText(), "Never");
  QStringList selected;
  for (auto* item : w->Choices(kCountries)->selectedItems()) selected << item->text();
  selected.sort();
  EXPECT_EQ(selected, QStringList({"germany", "spain"}));
  EXPECT_EQ(w->Label(kCountries)->text(), "Countries\n(3 items selected)");
  // A hand-edited value the list does not offer survives an Apply.
  EXPECT_EQ(w->Choice(7)->currentText(), "7");
  w->Apply();
  EXPECT_EQ(Stored("Repeating", "Unique_songs_before_repeating"), "7");
  EXPECT_EQ(Stored("Filter", "Countries"), "germany|spain");
}

TEST_F(PreferencesWindowTest, ApplyChecksThePlaylistLimits) {
  struct Case {
    const char *min_songs, *max_songs, *min_time, *max_time, *message;
  };
  const Case cases[] = {
      {"100", "50", "2 minutes", "Infinite", "Maximum songs must be higher than minimum songs."},
      {"100", "100", "2 hours", "1 hour",
       "Maximum playback time must be higher than minimum playback time."},
      {"100", "100", "10 hours", "Infinite", nullptr},
  };
  for (const Case& c : cases) {
    dialogs_.Clear();
    PreferencesWindow* w = Open();
    w->Choice(kMinSongs)->setCurrentText(c.min_songs);
    w->Choice(kMaxSongs)->setCurrentText(c.max_songs);
    w->Choice(kMinTime)->setCurrentText(c.min_time);
    w->Choice(kMaxTime)->setCurrentText(c.max_time);
    w->Apply();
    if (c.message) {
      EXPECT_EQ(dialogs_.Messages(),
                std::vector<QString>{"Preferences error|" + QString(c.message)});
      EXPECT_EQ(dialogs_.shown()[0].icon, DialogIcon::kError);
      EXPECT_TRUE(w->isVisible());
      EXPECT_FALSE(opener_.isEnabled());
      EXPECT_TRUE(root_.Read("assets/data/tunewright.ini").isEmpty());
      w->Cancel();
    } else {
      EXPECT_TRUE(dialogs_.Messages().empty());
      EXPECT_EQ(context_.preferences.Minimum_number_of_songs, 100);
      EXPECT_EQ(context_.preferences.Minimum_playback_time, "10 hours");
    }
    EXPECT_TRUE(opener_.isEnabled());
  }
}

TEST_F(PreferencesWindowTest, ApplyWritesEveryKeyAndReloads) {
  PreferencesWindow* w = Open(/*rows=*/3);
  QListWidget* countries = w->Choices(kCountries);
  for (const char* c : {"uk", "usa"})
    countries->findItems(c, Qt::MatchExactly)[0]->setSelected(true);
  EXPECT_EQ(w->Label(kCountries)->text(), "Countries\n(2 items selected)");
  w->Choices(kYears)->findItems("2001", Qt::MatchExactly)[0]->setSelected(true);
  w->Choice(kShorten)->setCurrentText("Always");
  w->Apply();
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(opener_.isEnabled());
  EXPECT_EQ(Stored("Filter", "Countries"), "uk|usa");
  EXPECT_EQ(Stored("Filter", "Years"), "2001");
  EXPECT_EQ(Stored("Filter", "Artists"), "");
  EXPECT_EQ(Stored("Directories Windows", "Path_audiofiles"), "");
  EXPECT_EQ(Stored("Speed", "Pitch_reset"), "1.0");
  EXPECT_EQ(context_.preferences.Shorten_songs, "Always");
  EXPECT_EQ(context_.preferences.Countries, "uk|usa");
  EXPECT_EQ(dialogs_.Messages(),
            std::vector<QString>{
                "Apply preferences|Preferences are applied to new playlists (not to the current "
                "one)."});
  EXPECT_EQ(CatalogueRows(), 1);  // same music folder: the catalogue stays
}

TEST_F(PreferencesWindowTest, ANewMusicFolderEmptiesTheCatalogue) {
  PreferencesWindow* w = Open();
  dialogs_.ChooseNext("/music/new/");
  w->FolderButton(kAudioFolder)->click();
  EXPECT_EQ(dialogs_.shown().back().title, "Choose the path where audiofiles are stored");
  EXPECT_EQ(w->Folder(kAudioFolder)->text(), "/music/new/");
  dialogs_.ChooseNext("");  // cancelled: the field keeps its text
  w->FolderButton(kAudioFolder)->click();
  EXPECT_EQ(w->Folder(kAudioFolder)->text(), "/music/new/");
  w->Apply();
  EXPECT_EQ(CatalogueRows(), 0);
  EXPECT_EQ(context_.preferences.Path_audiofiles, "/music/new/");
  EXPECT_TRUE(dialogs_.Messages().empty());  // no playlist: no closing message
}

TEST_F(PreferencesWindowTest, CancelAndTheCloseBoxWriteNothing) {
  for (bool close_box : {false, true}) {
    PreferencesWindow* w = Open();
    w->Choice(kShorten)->setCurrentText("Never");
    if (close_box) {
      w->close();
    } else {
      w->CancelButton()->click();
    }
    EXPECT_TRUE(opener_.isEnabled());
    EXPECT_TRUE(root_.Read("assets/data/tunewright.ini").isEmpty());
  }
}

TEST_F(PreferencesWindowTest, DefaultRestoresChoicesAndClearsFilters) {
  PreferencesWindow* w = Open();
  w->Choice(kShorten)->setCurrentText("Never");
  w->Choices(kCountries)->item(0)->setSelected(true);
  dialogs_.ChooseNext("/somewhere/");
  w->FolderButton(kAudioFolder)->click();
  w->DefaultButton()->click();
  EXPECT_EQ(w->Choice(kShorten)->currentText(), "Random");
  EXPECT_TRUE(w->Choices(kCountries)->selectedItems().isEmpty());
  EXPECT_EQ(w->Folder(kAudioFolder)->text(), "/somewhere/");
}

}  // namespace
}  // namespace tw
