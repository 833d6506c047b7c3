// tunewright-cli generate end to end, on a library and preferences written below a temporary
// root: the PlaylistText on standard output, the same one again for the same seed, and the
// command's warning with exit status 1 when there is nothing to generate from.
#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include "data/databases.h"
#include "data/preferences.h"
#include "data/song_statements.h"
#include "engine/decode_fixtures.h"
#include "playlist/playlist_files.h"
#include "playlist/playlist_parser.h"
#include "support/scripted_dialogs.h"
#include "support/temp_root.h"

namespace tw {
namespace {

struct CliRun {
  int exit_code = -1;
  QString out;
  QString err;
};

CliRun Generate(const QStringList& args) {
  QProcess cli;
  cli.start(QStringLiteral(TW_BIN_DIR "/tunewright-cli"), QStringList{"generate"} + args);
  EXPECT_TRUE(cli.waitForFinished(60000));
  return {cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
          QString::fromLocal8Bit(cli.readAllStandardError())};
}

// Three songs of 120-122 BPM with 10-second files below music/, which the preferences name
// relative to the root.
class GenerateCliTest : public ::testing::Test {
 protected:
  void MakeLibrary() {
    Databases databases;
    testing::ScriptedDialogs dialogs;
    ASSERT_TRUE(OpenDatabases(paths_, dialogs, databases));
    root_.Write("music/.keep", "");  // the folder
    for (int i = 0; i < 3; ++i) {
      SongRecord r;
      r.artist = "Artist";
      r.title = QString::number(i);
      r.bpm = 120.0f + static_cast<float>(i);
      r.filename = "Song " + QString::number(i) + ".wav";
      r.introstart = 1;
      r.introend = 2;
      r.breakstart = 20;
      r.breakend = 30;
      r.introlooprepeat = r.breaklooprepeat = 1;
      ASSERT_TRUE(databases.song_database.Execute(SongInsertStatement(r)));
      ASSERT_TRUE(test::WriteWav(root_.File("music/" + r.filename).toStdString(),
                                 std::vector<int16_t>(10 * test::kRate), 1));
    }
    CloseDatabases(databases);
    auto writer = OpenPreferencesFile(paths_);
    ASSERT_TRUE(writer.has_value());
    writer->SelectGroup("Directories Windows");
    writer->WriteText("Path_audiofiles", "music/");
    writer->SelectGroup("Song length");
    writer->WriteText("Shorten_songs", "Random");
    writer->SelectGroup("Playlist length");
    writer->WriteText("Minimum_playback_time", "1 minutes");
    ASSERT_TRUE(writer->Close());
  }

  testing::TempRoot root_;
  DataPaths paths_{root_.Path()};
};

TEST_F(GenerateCliTest, PrintsARepeatablePlaylistText) {
  MakeLibrary();
  const CliRun first = Generate({"--root", root_.Path(), "--seed", "42"});
  ASSERT_EQ(first.exit_code, 0) << first.err.toStdString();
  ASSERT_TRUE(first.out.endsWith('\n'));
  const QString text = first.out.trimmed();
  EXPECT_FALSE(text.contains('\n'));
  EXPECT_TRUE(IsPlaylistFileLine(text)) << text.toStdString();

  // Every song once (100 unique songs before repeating), the last one running to the end of
  // its file: 10 s - 2 s, or 30 - 2 - 0 s shortened without a skip region.
  const QStringList times = text.section('|', 1, 1).split(',');
  ASSERT_EQ(times.size(), 3);
  EXPECT_TRUE(times.last() == "8.00" || times.last() == "28.00S") << text.toStdString();

  Databases databases;
  testing::ScriptedDialogs dialogs;
  ASSERT_TRUE(OpenDatabases(paths_, dialogs, databases));
  Playlist playlist;
  EXPECT_TRUE(ParsePlaylistText(databases.song_database, text, playlist));
  EXPECT_EQ(playlist.size(), 3);
  EXPECT_EQ(BuildPlaylistText(playlist), text);
  CloseDatabases(databases);

  EXPECT_EQ(Generate({"--root", root_.Path(), "--seed", "42"}).out, first.out);
}

TEST_F(GenerateCliTest, ReportsWhyThereIsNoPlaylist) {
  const CliRun empty = Generate({"--root", root_.Path(), "--seed", "1"});
  EXPECT_EQ(empty.exit_code, 1);
  EXPECT_TRUE(empty.out.isEmpty());
  EXPECT_TRUE(empty.err.contains("Playlist cannot be created because the database is empty"))
      << empty.err.toStdString();

  MakeLibrary();
  auto writer = OpenPreferencesFile(paths_);
  ASSERT_TRUE(writer.has_value());
  writer->SelectGroup("Speed");
  writer->WriteText("BPM_of_first_song", "90 BPM");
  ASSERT_TRUE(writer->Close());
  const CliRun none = Generate({"--root", root_.Path()});
  EXPECT_EQ(none.exit_code, 1);
  EXPECT_TRUE(none.out.isEmpty());
  EXPECT_TRUE(none.err.contains("Playlist could not be generated")) << none.err.toStdString();

  EXPECT_EQ(Generate({"--root", root_.Path(), "--seed", "x"}).exit_code, 2);
  EXPECT_EQ(Generate({"--root", root_.Path(), "--seed"}).exit_code, 2);
}

}  // namespace
}  // namespace tw
