#include "data/song_statistics.h"

#include <gtest/gtest.h>

#include "data/databases.h"
#include "data/song_statements.h"
#include "support/scripted_dialogs.h"
#include "support/temp_root.h"

namespace tw {
namespace {

class SongStatisticsTest : public ::testing::Test {
 protected:
  SongStatisticsTest() { EXPECT_TRUE(OpenDatabases(root_.Paths(), dialogs_, dbs_)); }
  ~SongStatisticsTest() override { CloseDatabases(dbs_); }

  Database& songs() { return dbs_.song_database; }

  void AddSongs(int count) {
    songs().Execute("BEGIN");
    for (int i = 0; i < count; ++i) {
      SongRecord r;
      r.bpm = 70.0f + static_cast<float>(i % 1000) / 10.0f;
      r.introbass = i % 2;
      r.breakbass = (i / 2) % 2;
      ASSERT_TRUE(songs().Execute(SongInsertStatement(r)));
    }
    songs().Execute("COMMIT");
  }

  // How SQLite means to run a candidate query of the generator.
  QString Plan() {
    QueryResult rows = songs().Query(
        "EXPLAIN QUERY PLAN SELECT id, bpm FROM music WHERE id NOT IN (3,9) AND introbass=0 AND "
        "breakbass=0 AND bpm BETWEEN 118 AND 122 ORDER BY RANDOM() LIMIT 1");
    QString plan;
    while (rows.NextRow()) plan += rows.ColumnText(3) + "\n";
    return plan;
  }

  testing::TempRoot root_;
  testing::ScriptedDialogs dialogs_;
  Databases dbs_;
};

TEST_F(SongStatisticsTest, CandidateQueriesWalkTheTempoIndex) {
  EXPECT_FALSE(RefreshSongStatistics(songs()));  // nothing to learn from an empty table
  AddSongs(400);
  ASSERT_TRUE(RefreshSongStatistics(songs()));
  EXPECT_TRUE(Plan().contains("index_bpm")) << Plan().toStdString();
  EXPECT_FALSE(RefreshSongStatistics(songs()));  // still up to date
  AddSongs(300);
  EXPECT_FALSE(RefreshSongStatistics(songs()));  // less than twice the size
  AddSongs(200);
  EXPECT_TRUE(RefreshSongStatistics(songs()));
  ASSERT_TRUE(songs().Execute("DELETE FROM music WHERE id > 400"));
  EXPECT_TRUE(RefreshSongStatistics(songs()));  // less than half
  EXPECT_TRUE(Plan().contains("index_bpm")) << Plan().toStdString();
}

}  // namespace
}  // namespace tw
