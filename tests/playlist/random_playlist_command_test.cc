#include "playlist/random_playlist_command.h"

#include <chrono>

#include "playlist/playlist_files.h"
#include "playlist_fixture.h"

namespace tw {
namespace {

using testing::PlaylistFixture;
using testing::ScriptedDialogs;
using testing::Song;

class CreateRandomPlaylistTest : public PlaylistFixture {
 protected:
  CreateRandomPlaylistTest() {
    services_.generation_budget = std::chrono::milliseconds(0);
    WritePreferences({{"Directories Windows", {{"Path_audiofiles", root_.File("music/")}}},
                      {"Song length", {{"Shorten_songs", "Never"}}},
                      {"Playlist length", {{"Minimum_playback_time", "2 minutes"}}},
                      {"Session", {{"IDs", "old"}}}});
  }

  void ExpectRefusal(const QString& text) {
    ASSERT_EQ(dialogs_.shown().size(), 1u);
    const ScriptedDialogs::Shown& shown = dialogs_.shown()[0];
    EXPECT_EQ(shown.title, "Playlist loading error");
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.icon, DialogIcon::kWarning);
    EXPECT_TRUE(sink_.calls.empty());
    EXPECT_TRUE(playlist_.empty());
    EXPECT_EQ(StoredIds(), "old");
  }
};

TEST_F(CreateRandomPlaylistTest, RefusesAnEmptyLibrary) {
  CreateRandomPlaylist(services_);
  ExpectRefusal(
      "Playlist cannot be created because the database is empty.First add some songs to the "
      "database and try again.");
}

TEST_F(CreateRandomPlaylistTest, RefusesWithoutAMusicFolder) {
  Add(Song("A", "One", 120));
  WritePreferences({{"Directories Windows", {{"Path_audiofiles", ""}}}});
  CreateRandomPlaylist(services_);
  ExpectRefusal("No music directory selected in preferences.");
}

TEST_F(CreateRandomPlaylistTest, ReportsAPlaylistThatCannotBeBuilt) {
  Add(Song("A", "One", 120));
  WritePreferences({{"Speed", {{"BPM_of_first_song", "124 BPM"}}}});
  CreateRandomPlaylist(services_);
  ExpectRefusal("Playlist could not be generated. Change preferences and try again.");
}

TEST_F(CreateRandomPlaylistTest, LoadsTheNewPlaylistAndStoresIt) {
  const QString a = Add(Song("A", "One", 120)), b = Add(Song("B", "Two", 120));
  // The preferences in memory are stale: the command reads the file.
  preferences_.Shorten_songs = "Always";
  preferences_.Playlist_position = 1;
  CreateRandomPlaylist(services_);
  EXPECT_TRUE(dialogs_.shown().empty());
  const QString stored = StoredIds();
  ASSERT_NE(stored, "old");
  EXPECT_FALSE(stored.contains('S')) << stored.toStdString();
  ASSERT_FALSE(playlist_.empty());
  EXPECT_EQ(BuildPlaylistText(playlist_), stored);
  EXPECT_TRUE(playlist_.entries[0].id == a || playlist_.entries[0].id == b);
  const std::vector<std::string> expected = {"release", "rows " + std::to_string(playlist_.size()),
                                             "first " + playlist_.entries[0].id.toStdString(),
                                             "stop", "cue 0"};
  EXPECT_EQ(sink_.calls, expected);
}

}  // namespace
}  // namespace tw
