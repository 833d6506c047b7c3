#include "data/databases.h"

#include <thread>

#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStringList>

#include <gtest/gtest.h>

#include "data/data_paths.h"
#include "data/schema.h"
#include "data/sql_text.h"
#include "support/scripted_dialogs.h"
#include "support/temp_root.h"

namespace tw {
namespace {

using testing::ScriptedDialogs;
using testing::TempRoot;

// Every object that the program made, in the order it made them.
QStringList SchemaOf(Database& db) {
  QStringList out;
  QueryResult rows =
      db.Query("SELECT sql FROM sqlite_master WHERE name <> 'sqlite_sequence' ORDER BY rowid");
  while (rows.NextRow()) out << rows.ColumnText(0);
  return out;
}

QStringList Expected(const char* table, const auto& indexes) {
  QStringList out = {table};
  for (const char* s : indexes) out << s;
  return out;
}

class DatabasesTest : public ::testing::Test {
 protected:
  bool Open() { return OpenDatabases(root_.Paths(), dialogs_, dbs_); }
  TempRoot root_;
  ScriptedDialogs dialogs_;
  Databases dbs_;
};

TEST_F(DatabasesTest, FirstStartCreatesBothSchemasExactly) {
  ASSERT_TRUE(Open());
  EXPECT_TRUE(dialogs_.shown().empty());
  EXPECT_EQ(SchemaOf(dbs_.song_database), Expected(schema::kCreateMusic, schema::kMusicIndexes));
  EXPECT_EQ(SchemaOf(dbs_.file_catalogue), Expected(schema::kCreateFiles, schema::kFilesIndexes));
  EXPECT_EQ(dbs_.song_database.LookupInteger("SELECT COUNT(id) FROM music"), 0);
  EXPECT_EQ(dbs_.file_catalogue.LookupInteger("SELECT COUNT(id) FROM files"), 0);
}

TEST_F(DatabasesTest, SchemaReadByTheSqliteToolEqualsTheStatements) {
  const QString sqlite = QStandardPaths::findExecutable("sqlite3");
  if (sqlite.isEmpty()) GTEST_SKIP() << "sqlite3 command-line tool not installed";
  ASSERT_TRUE(Open());
  CloseDatabases(dbs_);
  QProcess tool;
  tool.start(sqlite, {root_.Paths().SongDatabase(),
                      "SELECT sql || ';' FROM sqlite_master WHERE name <> 'sqlite_sequence'"});
  ASSERT_TRUE(tool.waitForFinished(10000));
  QString expected = QString(schema::kCreateMusic) + ";\n";
  for (const char* s : schema::kMusicIndexes) expected += QString(s) + ";\n";
  EXPECT_EQ(QString::fromUtf8(tool.readAllStandardOutput()), expected);
}

TEST_F(DatabasesTest, ExistingDataIsKeptAndIndexesRecreated) {
  ASSERT_TRUE(Open());
  ASSERT_TRUE(dbs_.song_database.Execute("INSERT INTO music (artist) VALUES ('Kept')"));
  ASSERT_TRUE(dbs_.song_database.Execute("DROP INDEX index_bpm"));
  CloseDatabases(dbs_);
  ASSERT_TRUE(Open());
  EXPECT_EQ(dbs_.song_database.LookupText("SELECT artist FROM music"), "Kept");
  EXPECT_EQ(SchemaOf(dbs_.song_database).size(), 17);
  EXPECT_TRUE(dialogs_.shown().empty());
}

TEST_F(DatabasesTest, EmptyFilesGetTheirTablesOnlyForTheSongs) {
  root_.Write("assets/data/tunewright.db1", {});
  root_.Write("assets/data/tunewright.db2", {});
  ASSERT_TRUE(Open());
  EXPECT_EQ(SchemaOf(dbs_.song_database), Expected(schema::kCreateMusic, schema::kMusicIndexes));
  // An existing empty catalogue stays without its table: statements on it fail quietly.
  EXPECT_TRUE(SchemaOf(dbs_.file_catalogue).isEmpty());
  EXPECT_FALSE(dbs_.file_catalogue.Execute("DELETE FROM files"));
  EXPECT_EQ(dbs_.file_catalogue.LookupText("SELECT file FROM files"), "");
}

TEST_F(DatabasesTest, AFileThatIsNotADatabaseAbortsAndStaysUntouched) {
  for (const char* name : {"tunewright.db1", "tunewright.db2"}) {
    TempRoot root;
    QByteArray noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(QRandomGenerator::global()->bounded(256));
    noise.replace(0, 6, "NOTSQL");
    root.Write(QString("assets/data/") + name, noise);
    ScriptedDialogs dialogs;
    Databases dbs;
    EXPECT_FALSE(OpenDatabases(root.Paths(), dialogs, dbs));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, "Program aborted");
    EXPECT_EQ(dialogs.shown()[0].text, QString("Database %1 cannot be opened").arg(name));
    EXPECT_EQ(dialogs.shown()[0].icon, DialogIcon::kError);
    EXPECT_EQ(root.Read(QString("assets/data/") + name), noise);
    EXPECT_FALSE(dbs.song_database.IsOpen());
    EXPECT_FALSE(dbs.file_catalogue.IsOpen());
  }
}

TEST_F(DatabasesTest, OddTextValuesAreStoredAndFoundAgain) {
  ASSERT_TRUE(Open());
  const QString values[] = {
      "O'Neil", "100% Pure_Love", "D:\\DJ's\\", "Björk – Jóga 日本", "'; DROP TABLE music; --",
      "a\"b"};
  Database& db = dbs_.song_database;
  for (const QString& v : values) {
    ASSERT_TRUE(db.Execute("INSERT INTO music (artist) VALUES ('" + EscapeQuotes(v) + "')"));
  }
  for (const QString& v : values) {
    EXPECT_EQ(db.LookupText("SELECT artist FROM music WHERE artist='" + EscapeQuotes(v) + "'"), v);
    EXPECT_EQ(db.LookupText("SELECT artist FROM music WHERE artist LIKE '%" + EscapeQuotes(v) +
                            "%' LIMIT 1"),
              v);
  }
  EXPECT_EQ(db.LookupInteger("SELECT COUNT(id) FROM music"), 6);
}

TEST_F(DatabasesTest, NoRowReadsAsEmptyAndFailuresAsNoRows) {
  ASSERT_TRUE(Open());
  Database& db = dbs_.song_database;
  EXPECT_EQ(db.LookupText("SELECT filename FROM music WHERE id='17' LIMIT 1"), "");
  EXPECT_EQ(db.LookupInteger("SELECT year FROM music WHERE id='17'"), 0);
  QueryResult failed = db.Query("SELECT nonsense FROM nowhere");
  EXPECT_FALSE(failed.NextRow());
  EXPECT_EQ(failed.ColumnText(0), "");
  EXPECT_EQ(failed.ColumnReal(0), 0.0);
  EXPECT_FALSE(db.Execute("INSERT INTO nowhere VALUES (1)"));
  // A row id compares with the integer column by affinity.
  ASSERT_TRUE(db.Execute("INSERT INTO music (title, year) VALUES ('T', NULL)"));
  EXPECT_EQ(db.LookupText("SELECT title FROM music WHERE id='1' LIMIT 1"), "T");
  EXPECT_EQ(db.LookupInteger("SELECT year FROM music WHERE id='1'"), 0);
}

TEST_F(DatabasesTest, ASecondStatementIsNeverRun) {
  ASSERT_TRUE(Open());
  Database& db = dbs_.song_database;
  EXPECT_FALSE(db.Execute("INSERT INTO music (artist) VALUES ('x'); DROP TABLE music"));
  EXPECT_FALSE(db.Query("SELECT 1; DELETE FROM music").NextRow());
  EXPECT_TRUE(db.Execute("INSERT INTO music (artist) VALUES ('y');  "));
  EXPECT_EQ(db.LookupInteger("SELECT COUNT(id) FROM music"), 1);
}

TEST_F(DatabasesTest, RandomCanBeReplacedAndRestored) {
  ASSERT_TRUE(Open());
  Database& db = dbs_.song_database;
  for (const char* artist : {"a", "b", "c"}) {
    ASSERT_TRUE(db.Execute(QString("INSERT INTO music (artist) VALUES ('%1')").arg(artist)));
  }
  // Descending values make ORDER BY RANDOM() reverse the rows, whatever the seed.
  int64_t next = 100;
  ASSERT_TRUE(db.SetRandomFunction([&next] { return next--; }));
  QStringList order;
  QueryResult rows = db.Query("SELECT artist FROM music ORDER BY RANDOM()");
  while (rows.NextRow()) order << rows.ColumnText(0);
  EXPECT_EQ(order, QStringList({"c", "b", "a"}));
  EXPECT_EQ(db.LookupInteger("SELECT random()"), 97);  // names are case-insensitive

  ASSERT_TRUE(db.SetRandomFunction(nullptr));
  EXPECT_EQ(db.LookupInteger("SELECT COUNT(*) FROM music WHERE RANDOM() IS NOT NULL"), 3);
  EXPECT_EQ(next, 96);  // SQLite's own randomness answered
  EXPECT_FALSE(Database().SetRandomFunction([] { return int64_t{1}; }));
}

TEST_F(DatabasesTest, TwoThreadsShareAConnection) {
  ASSERT_TRUE(Open());
  Database& db = dbs_.file_catalogue;
  auto insert = [&db](const QString& folder) {
    for (int i = 0; i < 200; ++i) {
      db.Execute("INSERT INTO files (added, file, folder, bpm) VALUES ('No', 'f" +
                 QString::number(i) + ".mp3', '" + folder + "', '120.00')");
      QueryResult rows = db.Query("SELECT file FROM files WHERE folder='" + folder + "'");
      while (rows.NextRow()) {
      }
    }
  };
  std::thread worker(insert, QStringLiteral("/worker/"));
  insert(QStringLiteral("/main/"));
  worker.join();
  EXPECT_EQ(db.LookupInteger("SELECT COUNT(id) FROM files"), 400);
}

TEST(ValueLists, DistinctValuesAndSplitValues) {
  TempRoot root;
  ScriptedDialogs dialogs;
  Databases dbs;
  ASSERT_TRUE(OpenDatabases(root.Paths(), dialogs, dbs));
  Database& db = dbs.song_database;
  EXPECT_EQ(DistinctValues(db, "genre"), "");
  db.Execute("INSERT INTO music (genre, country) VALUES ('', ' ')");
  db.Execute("INSERT INTO music (genre) VALUES (NULL)");
  EXPECT_EQ(DistinctValues(db, "genre"), "");
  db.Execute("INSERT INTO music (genre, country) VALUES ('House,Techno', 'UK')");
  db.Execute("INSERT INTO music (genre, country) VALUES ('Techno', 'uk')");
  db.Execute("INSERT INTO music (genre, country) VALUES ('Techno', ' Germany ')");
  EXPECT_EQ(DistinctValues(db, " genre "), "house,techno,techno");
  EXPECT_EQ(SplitValues(DistinctValues(db, "genre")), "house,techno");
  // Upper case sorts first, values differing in case stay separate.
  EXPECT_EQ(DistinctValues(db, "country"), "germany,uk,uk");
  EXPECT_EQ(SplitValues("b, a,a,b"), " a,a,b");
  EXPECT_EQ(SplitValues("single"), "single");
  EXPECT_EQ(DistinctValues(db, "artist"), "");
}

TEST(SqlText, EscapeQuotesAndDecimalIds) {
  EXPECT_EQ(EscapeQuotes("Don't stop.mp3"), "Don''t stop.mp3");
  EXPECT_EQ(EscapeQuotes("''"), "''''");
  EXPECT_TRUE(IsDecimalId("17"));
  for (const char* bad : {"", "1a", "-1", "1 ", "1;DROP", "١٢"}) {
    EXPECT_FALSE(IsDecimalId(QString::fromUtf8(bad))) << bad;
  }
}

}  // namespace
}  // namespace tw
