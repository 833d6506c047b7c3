#include "data/song_record.h"

#include <gtest/gtest.h>

#include "data/databases.h"
#include "data/song_statements.h"
#include "support/scripted_dialogs.h"
#include "support/temp_root.h"

namespace tw {
namespace {

class SongRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(OpenDatabases(root_.Paths(), dialogs_, dbs_)); }
  SongRecord ReadFirst() {
    QueryResult row = dbs_.song_database.Query(QString(kSelectSongColumns) + " LIMIT 1");
    EXPECT_TRUE(row.NextRow());
    return ReadSongRecord(row);
  }
  testing::TempRoot root_;
  testing::ScriptedDialogs dialogs_;
  Databases dbs_;
};

TEST_F(SongRecordTest, InsertedRecordReadsBackFieldByField) {
  SongRecord r;
  r.artist = "O'Neil";
  r.title = "Jóga";
  r.bpm = 127.5f;
  r.introprefix = 1.25f;
  r.introfade = 1;
  r.introstart = 10.0f;
  r.introend = 25.0f;
  r.introbeatlist = "00:10.000\n00:10.500\n";
  r.introbass = 1;
  r.intromelody = 1;
  r.introbeats = 1;
  r.breakstart = 180.5f;
  r.breakend = 195.5f;
  r.breakbeatlist = "03.00.500\r";
  r.breakvocal = 1;
  r.breakbeats = 1;
  r.genre = "House,Techno";
  r.filename = "House/Track 01.mp3";
  r.sleeve = "cover.jpg";
  r.year = 1999;
  r.label = "100% Records";
  r.catno = "ABC_01";
  r.country = "uk";
  r.breakmute = 0.5f;
  r.breakcontinue = 0.015f;
  r.introloopstart = 12.0f;
  r.introloopend = 14.0f;
  r.breakloopstart = 182.0f;
  r.breakloopend = 184.0f;
  r.introlooprepeat = 3;
  r.breaklooprepeat = 31;
  r.skipstart = 60.0f;
  r.skipend = 120.0f;
  ASSERT_TRUE(dbs_.song_database.Execute(SongInsertStatement(r)));

  const SongRecord b = ReadFirst();
  EXPECT_EQ(b.id, "1");
  EXPECT_EQ(b.artist, r.artist);
  EXPECT_EQ(b.title, r.title);
  EXPECT_FLOAT_EQ(b.bpm, 127.5f);
  EXPECT_FLOAT_EQ(b.introprefix, 1.25f);
  EXPECT_EQ(b.introfade, 1);
  EXPECT_FLOAT_EQ(b.introstart, 10.0f);
  EXPECT_FLOAT_EQ(b.introend, 25.0f);
  EXPECT_EQ(b.introbeatlist, r.introbeatlist);
  EXPECT_EQ(b.introbass + b.introvocal + b.intromelody + b.introbeats, 3);
  EXPECT_EQ(b.intromelody, 1);
  EXPECT_EQ(b.breakfade, 0);
  EXPECT_FLOAT_EQ(b.breakstart, 180.5f);
  EXPECT_FLOAT_EQ(b.breakend, 195.5f);
  EXPECT_EQ(b.breakbeatlist, r.breakbeatlist);
  EXPECT_EQ(b.breakbass + b.breakvocal + b.breakmelody + b.breakbeats, 2);
  EXPECT_EQ(b.breakvocal, 1);
  EXPECT_EQ(b.genre, r.genre);
  EXPECT_EQ(b.filename, r.filename);
  EXPECT_EQ(b.sleeve, r.sleeve);
  EXPECT_EQ(b.year, 1999);
  EXPECT_EQ(b.label, r.label);
  EXPECT_EQ(b.catno, r.catno);
  EXPECT_EQ(b.country, r.country);
  EXPECT_FLOAT_EQ(b.breakmute, 0.5f);
  EXPECT_NEAR(b.breakcontinue, 0.0149f, 1e-6);  // truncated to 4 decimals when written
  EXPECT_FLOAT_EQ(b.introloopstart, 12.0f);
  EXPECT_FLOAT_EQ(b.introloopend, 14.0f);
  EXPECT_FLOAT_EQ(b.breakloopstart, 182.0f);
  EXPECT_FLOAT_EQ(b.breakloopend, 184.0f);
  EXPECT_EQ(b.introlooprepeat, 3);
  EXPECT_EQ(b.breaklooprepeat, 31);
  EXPECT_FLOAT_EQ(b.skipstart, 60.0f);
  EXPECT_FLOAT_EQ(b.skipend, 120.0f);
  // Unset markers are stored as the zero text.
  EXPECT_EQ(dbs_.song_database.LookupText("SELECT introprefix, introvocal FROM music"),
            "00:01.2500");
}

TEST_F(SongRecordTest, RepeatCountsBelowOneAndEmptyColumnsReadSafely) {
  ASSERT_TRUE(dbs_.song_database.Execute(
      "INSERT INTO music (artist, introlooprepeat, breaklooprepeat) VALUES ('x', 0, -4)"));
  const SongRecord r = ReadFirst();
  EXPECT_EQ(r.introlooprepeat, 1);
  EXPECT_EQ(r.breaklooprepeat, 1);
  EXPECT_EQ(r.introstart, 0.0f);
  EXPECT_EQ(r.year, 0);
  EXPECT_EQ(r.title, "");
}

TEST(SongStatements, InsertTextJoinsQuotedAndBareValues) {
  SongRecord r;
  r.artist = "A'B";
  r.bpm = 128;
  const QString sql = SongInsertStatement(r);
  EXPECT_TRUE(sql.startsWith("INSERT INTO music (artist, title, bpm, introprefix, introfade, "));
  EXPECT_TRUE(
      sql.contains("skipstart, skipend) VALUES ('A''B', '', 128, '00:00.0000', 0, "
                   "'00:00.0000', '00:00.0000', '', 0, 0, 0, 0, 0, '00:00.0000'"));
  EXPECT_TRUE(sql.endsWith(", 0, 0, '00:00.0000', '00:00.0000')"));
}

}  // namespace
}  // namespace tw
