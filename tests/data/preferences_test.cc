#include "data/preferences.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include "data/databases.h"
#include "data/settings_catalogue.h"
#include "support/scripted_dialogs.h"
#include "support/temp_root.h"

namespace tw {
namespace {

using testing::TempRoot;

class PreferencesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ScriptedDialogs dialogs;
    ASSERT_TRUE(OpenDatabases(root_.Paths(), dialogs, dbs_));
  }
  Preferences Load() {
    Preferences p;
    LoadPreferences(root_.Paths(), BuildSettingsCatalogue(dbs_.song_database), p);
    return p;
  }
  void WriteIni(const QByteArray& text) { root_.Write("assets/data/tunewright.ini", text); }

  TempRoot root_;
  Databases dbs_;
};

void ExpectDefaults(const Preferences& p) {
  EXPECT_EQ(p.IDs, "");
  EXPECT_EQ(p.Path_audiofiles, "");
  EXPECT_EQ(p.Path_sleevesfiles, "");
  EXPECT_EQ(p.Minimum_number_of_songs, 2);
  EXPECT_EQ(p.Maximum_number_of_songs, "100");
  EXPECT_EQ(p.Minimum_playback_time, "2 minutes");
  EXPECT_EQ(p.Maximum_playback_time, "Infinite");
  EXPECT_EQ(p.Shorten_songs, "Random");
  EXPECT_EQ(p.Unique_songs_before_repeating, 100);
  EXPECT_EQ(p.BPM_of_first_song, "Random");
  EXPECT_EQ(p.BPM_order_of_songs, "Random");
  EXPECT_EQ(p.Maximum_BPM_distance, 2.0f);
  EXPECT_EQ(p.Pitch_reset, 1.0f);
  EXPECT_EQ(p.Filter_overlapped_beats, "Current song");
  EXPECT_EQ(p.Combine_beats, "Yes");
  EXPECT_EQ(p.Combine_basses, "No");
  EXPECT_EQ(p.Combine_vocals, "No");
  EXPECT_EQ(p.Combine_melodies, "No");
  EXPECT_EQ(p.Countries + p.Genres + p.Years + p.Record_labels + p.Artists, "");
}

TEST_F(PreferencesTest, NoFileGivesTheDefaultsAndKeepsThePosition) {
  dbs_.song_database.Execute("INSERT INTO music (country, bpm) VALUES ('UK', 120)");
  Preferences p = Load();
  ExpectDefaults(p);
  p.Playlist_position = 7;
  LoadPreferences(root_.Paths(), BuildSettingsCatalogue(dbs_.song_database), p);
  EXPECT_EQ(p.Playlist_position, 7);
}

TEST_F(PreferencesTest, FirstWriteMakesTheHeaderThenTheGroup) {
  root_.Remove("assets/data");
  auto writer = OpenPreferencesFile(root_.Paths());
  ASSERT_TRUE(writer.has_value());
  writer->SelectGroup("Session");
  writer->WriteText("IDs", "1,2|3.50,7.25");
  writer->WriteInteger("Playlist position", -1);
  ASSERT_TRUE(writer->Close());
  EXPECT_EQ(root_.Read("assets/data/tunewright.ini"),
            "\xEF\xBB\xBF; Tunewright preferences\r\n; \r\n"
            "; Deleting this file will reset all preferences in Tunewright.\r\n"
            "; Manually modifying may cause errors!\r\n; \r\n"
            "[Session]\r\nIDs = 1,2|3.50,7.25\r\nPlaylist position = -1\r\n");
}

TEST_F(PreferencesTest, KeysAreRewrittenInPlaceAndNewOnesJoinTheirGroup) {
  WriteIni(
      "; hand note\n[Speed]\nMaximum_BPM_distance = 3.5\n\n[Session]\nIDs = 1\n"
      "[Directories Windows]\nPath_audiofiles = /music/\n");
  auto writer = OpenPreferencesFile(root_.Paths());
  ASSERT_TRUE(writer.has_value());
  writer->SelectGroup("Speed");
  writer->WriteText("Pitch_reset", "0.5");
  writer->SelectGroup("Session");
  writer->WriteText("IDs", "4,5|1.00,2.00");
  writer->SelectGroup("Repeating");
  writer->WriteInteger("Unique_songs_before_repeating", 20);
  ASSERT_TRUE(writer->Close());
  EXPECT_EQ(root_.Read("assets/data/tunewright.ini"),
            "\xEF\xBB\xBF; hand note\r\n[Speed]\r\nMaximum_BPM_distance = 3.5\r\n"
            "Pitch_reset = 0.5\r\n\r\n[Session]\r\nIDs = 4,5|1.00,2.00\r\n"
            "[Directories Windows]\r\nPath_audiofiles = /music/\r\n"
            "[Repeating]\r\nUnique_songs_before_repeating = 20\r\n");
  const Preferences p = Load();
  EXPECT_EQ(p.Maximum_BPM_distance, 3.5f);
  EXPECT_EQ(p.Pitch_reset, 0.5f);
  EXPECT_EQ(p.Unique_songs_before_repeating, 20);
  EXPECT_EQ(p.IDs, "4,5|1.00,2.00");
  EXPECT_EQ(p.Path_audiofiles, "/music/");
}

TEST_F(PreferencesTest, HandEditedFilesLoadWithoutHarm) {
  const QByteArray files[] = {
      // No byte-order mark, LF only, odd blanks, values off the offered lists.
      "[Playlist length]\nMinimum_number_of_songs=7\nMaximum_number_of_songs =  33 \n"
      "[Speed]\n  Maximum_BPM_distance   =   4.5\n[Transitions]\nCombine_beats = Maybe\n",
      // CR only, with a byte-order mark.
      "\xEF\xBB\xBF[Playlist length]\rMinimum_number_of_songs = 7\rMaximum_number_of_songs = 33"
      "\r[Speed]\rMaximum_BPM_distance = 4.5\r[Transitions]\rCombine_beats = Maybe\r",
      // Cut off in the middle of the last line.
      "[Playlist length]\r\nMinimum_number_of_songs = 7\r\nMaximum_number_of_songs = 33\r\n"
      "[Transitions]\r\nCombine_beats = Maybe\r\n[Speed]\r\nMaximum_BPM_distance = 4.5\r\n[Spe",
  };
  for (const QByteArray& text : files) {
    WriteIni(text);
    const Preferences p = Load();
    EXPECT_EQ(p.Minimum_number_of_songs, 7);
    EXPECT_EQ(p.Maximum_number_of_songs, "33");
    EXPECT_EQ(p.Maximum_BPM_distance, 4.5f);
    EXPECT_EQ(p.Combine_beats, "Maybe");
    EXPECT_EQ(p.Shorten_songs, "Random");
  }
  WriteIni(
      "[Playlist length]\r\nMinimum_number_of_songs = lots\r\n[Speed]\r\n"
      "Pitch_reset = ,\r\n\x01\x02\xff\xfe garbage\r\n= no key\r\n");
  const Preferences p = Load();
  EXPECT_EQ(p.Minimum_number_of_songs, 2);
  EXPECT_EQ(p.Pitch_reset, 1.0f);
}

TEST_F(PreferencesTest, UnreadableFileGivesDefaultsAndRefusesWriting) {
  root_.Write("assets/data/tunewright.ini/blocker", "x");  // a folder where the file should be
  ExpectDefaults(Load());
  EXPECT_FALSE(OpenPreferencesFile(root_.Paths()).has_value());
}

TEST_F(PreferencesTest, MissingFilterKeysFilterNothing) {
  dbs_.song_database.Execute("INSERT INTO music (country, artist) VALUES ('UK', 'A')");
  WriteIni("[Filter]\r\nGenres = house|techno\r\n");
  const Preferences p = Load();
  EXPECT_EQ(p.Genres, "house|techno");
  EXPECT_EQ(p.Countries, "");
  EXPECT_EQ(p.Artists, "");
}

TEST_F(PreferencesTest, WrittenFileIsReadByAnIndependentIniReader) {
  const QString python = QStandardPaths::findExecutable("python3");
  if (python.isEmpty()) GTEST_SKIP() << "python3 not installed";
  auto writer = OpenPreferencesFile(root_.Paths());
  ASSERT_TRUE(writer.has_value());
  writer->SelectGroup("Directories Windows");
  writer->WriteText("Path_audiofiles", "/home/dj/Mixes – 2026/");
  writer->SelectGroup("Filter");
  writer->WriteText("Countries", "uk|usa");
  writer->SelectGroup("Session");
  writer->WriteInteger("Playlist position", 7);
  ASSERT_TRUE(writer->Close());
  QProcess reader;
  reader.start(python, {"-c",
                        "import configparser,sys\n"
                        "c=configparser.ConfigParser(interpolation=None)\n"
                        "c.read(sys.argv[1], encoding='utf-8-sig')\n"
                        "print(c['Directories Windows']['Path_audiofiles'])\n"
                        "print(c['Filter']['Countries'])\n"
                        "print(c['Session']['Playlist position'])\n",
                        root_.Paths().PreferencesFile()});
  ASSERT_TRUE(reader.waitForFinished(20000));
  EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
  EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()),
            "/home/dj/Mixes – 2026/\nuk|usa\n7\n");
}

TEST(PreferenceValues, CountsAndDurations) {
  EXPECT_EQ(MinimumDurationSeconds("2 minutes"), 120);
  EXPECT_EQ(MinimumDurationSeconds("1 hour"), 3600);
  EXPECT_EQ(MinimumDurationSeconds("10 hours"), 36000);
  EXPECT_EQ(MaximumDurationSeconds("Infinite"), 360000);
  EXPECT_EQ(MaximumDurationSeconds("30 minutes"), 1800);
  EXPECT_EQ(SongCountLimit("Infinite"), 100);
  EXPECT_EQ(SongCountLimit("250"), 250);
  EXPECT_EQ(SongCountLimit("x12"), 0);
  EXPECT_EQ(MinimumDurationSeconds("2 HOURS"), 120);  // "hour" is case-sensitive
}

TEST(SettingsCatalogueTest, EntriesKeysGroupsAndDefaults) {
  TempRoot root;
  testing::ScriptedDialogs dialogs;
  Databases dbs;
  ASSERT_TRUE(OpenDatabases(root.Paths(), dialogs, dbs));
  dbs.song_database.Execute(
      "INSERT INTO music (bpm, genre, country, year) VALUES (120.7, 'House,Techno', 'UK', 1999)");
  dbs.song_database.Execute(
      "INSERT INTO music (bpm, genre, country, year) VALUES (118, 'Techno', 'Italy', 0)");
  const SettingsCatalogue c = BuildSettingsCatalogue(dbs.song_database);
  ASSERT_EQ(c.size(), 22u);
  const char* keys[] = {"Path_audiofiles",
                        "Path_sleevesfiles",
                        "Minimum_number_of_songs",
                        "Maximum_number_of_songs",
                        "Minimum_playback_time",
                        "Maximum_playback_time",
                        "Shorten_songs",
                        "Unique_songs_before_repeating",
                        "BPM_of_first_song",
                        "BPM_order_of_songs",
                        "Maximum_BPM_distance",
                        "Pitch_reset",
                        "Filter_overlapped_beats",
                        "Combine_beats",
                        "Combine_basses",
                        "Combine_vocals",
                        "Combine_melodies",
                        "Countries",
                        "Genres",
                        "Years",
                        "Record_labels",
                        "Artists"};
  const char* groups[] = {"Directories Windows",
                          "Directories Windows",
                          "Playlist length",
                          "Playlist length",
                          "Playlist length",
                          "Playlist length",
                          "Song length",
                          "Repeating",
                          "Speed",
                          "Speed",
                          "Speed",
                          "Speed",
                          "Transitions",
                          "Transitions",
                          "Transitions",
                          "Transitions",
                          "Transitions",
                          "Filter",
                          "Filter",
                          "Filter",
                          "Filter",
                          "Filter"};
  for (size_t i = 0; i < c.size(); ++i) {
    EXPECT_EQ(SettingKey(c[i]), keys[i]);
    EXPECT_EQ(SettingGroup(c, i), groups[i]) << keys[i];
    EXPECT_FALSE(c[i].help.isEmpty()) << keys[i];
  }
  EXPECT_EQ(c[2].values, c[3].values);
  EXPECT_TRUE(c[3].values.startsWith("2,5,10,15,20,25,30"));
  EXPECT_TRUE(c[3].values.endsWith("95,100,150,200,250,300,350,400,450,500,600,700,800,900,999"));
  EXPECT_EQ(c[5].values.section(',', -1), "Infinite");
  EXPECT_EQ(c[8].values, "Random,118 BPM,120 BPM");
  EXPECT_TRUE(c[10].values.startsWith("0.5,1.0,1.5,"));
  EXPECT_TRUE(c[10].values.endsWith(",9.0,9.5"));
  EXPECT_EQ(c[17].values, "italy,uk");
  EXPECT_EQ(c[18].values, "house,techno");
  EXPECT_EQ(c[19].values, "0,1999");
  EXPECT_EQ(c[17].default_value, "italy");
  EXPECT_EQ(c[0].kind, SettingKind::kFolder);
  EXPECT_EQ(c[20].kind, SettingKind::kManyOf);
  EXPECT_EQ(c[0].group, "Directories");
  EXPECT_EQ(c[1].group, "");
  EXPECT_EQ(SettingDefault(c, "Pitch reset"), "1.0");
  EXPECT_EQ(SettingDefault(c, "No such entry"), "");
  EXPECT_TRUE(c[11].help.contains(QString(2, QChar(0x200B)) + "without"));
}

}  // namespace
}  // namespace tw
