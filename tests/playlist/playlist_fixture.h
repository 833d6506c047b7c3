#ifndef TUNEWRIGHT_TESTS_PLAYLIST_PLAYLIST_FIXTURE_H_
#define TUNEWRIGHT_TESTS_PLAYLIST_PLAYLIST_FIXTURE_H_

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <QString>

#include <gtest/gtest.h>

#include "data/databases.h"
#include "data/preferences.h"
#include "data/settings_catalogue.h"
#include "data/song_statements.h"
#include "playlist/playlist_services.h"
#include "support/scripted_dialogs.h"
#include "support/temp_root.h"

// Failure messages show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace tw::testing {

// Records what loading a playlist did to the window and the scheduler, as one text per call.
class RecordingSink : public PlaylistSink {
 public:
  void ReleaseSlots() override { calls.push_back("release"); }
  void ShowRows(const std::vector<PlaylistRow>& shown) override {
    calls.push_back("rows " + std::to_string(shown.size()));
    rows = shown;
  }
  void ShowFirstSong(const PlaylistEntry& entry) override {
    calls.push_back("first " + entry.id.toStdString());
  }
  void StopPlayback() override { calls.push_back("stop"); }
  void SelectAndCueRow(int row) override { calls.push_back("cue " + std::to_string(row)); }

  std::vector<std::string> calls;
  std::vector<PlaylistRow> rows;
};

// A song with a 32-beat intro at 10-20 s and break at 100-110 s, skip region 40-60 s.
inline SongRecord Song(const QString& artist, const QString& title, float bpm) {
  SongRecord r;
  r.artist = artist;
  r.title = title;
  r.bpm = bpm;
  r.filename = artist + " - " + title + ".mp3";
  r.introstart = 10;
  r.introend = 20;
  r.breakstart = 100;
  r.breakend = 110;
  r.skipstart = 40;
  r.skipend = 60;
  r.introlooprepeat = 1;
  r.breaklooprepeat = 1;
  r.year = 2001;
  return r;
}

// A temporary program root with both databases open, the preferences file, the playlist
// and the services over them. Songs get the ids 1, 2, ... in the order they are added.
class PlaylistFixture : public ::testing::Test {
 protected:
  PlaylistFixture() {
    EXPECT_TRUE(OpenDatabases(paths_, dialogs_, databases_));
    catalogue_ = BuildSettingsCatalogue(databases_.song_database);
    LoadPreferences(paths_, catalogue_, preferences_);
  }
  ~PlaylistFixture() override { CloseDatabases(databases_); }

  Database& songs() { return databases_.song_database; }

  QString Add(const SongRecord& record) {
    EXPECT_TRUE(songs().Execute(SongInsertStatement(record)));
    return songs().LookupText("SELECT MAX(id) FROM music");
  }

  // Writes preferences into the file (the commands reload it): group -> key -> value.
  void WritePreferences(const std::map<QString, std::map<QString, QString>>& groups) {
    auto writer = OpenPreferencesFile(paths_);
    ASSERT_TRUE(writer.has_value());
    for (const auto& [group, keys] : groups) {
      writer->SelectGroup(group);
      for (const auto& [key, value] : keys) writer->WriteText(key, value);
    }
    ASSERT_TRUE(writer->Close());
    LoadPreferences(paths_, catalogue_, preferences_);
  }

  QString StoredIds() {
    Preferences p;
    LoadPreferences(paths_, catalogue_, p);
    return p.IDs;
  }

  TempRoot root_;
  DataPaths paths_{root_.Path()};
  ScriptedDialogs dialogs_;
  Databases databases_;
  SettingsCatalogue catalogue_;
  Preferences preferences_;
  Playlist playlist_;
  RecordingSink sink_;
  RandomSource random_{7};
  double song_length_ = 300;
  PlaylistServices services_{
      paths_,     dialogs_,     databases_.song_database,
      catalogue_, preferences_, playlist_,
      sink_,      random_,      [this](const QString&) { return song_length_; }};
};

}  // namespace tw::testing

#endif  // TUNEWRIGHT_TESTS_PLAYLIST_PLAYLIST_FIXTURE_H_
