#include <gtest/gtest.h>

#include "data/database.h"
#include "data/databases.h"
#include "data/sql_text.h"
#include "support/scripted_dialogs.h"
#include "support/temp_root.h"

namespace tw {
namespace {

TEST(CaseFold, SqlFunctionFoldsEveryScriptLikeFoldCase) {
  testing::TempRoot root;
  testing::ScriptedDialogs dialogs;
  Databases dbs;
  ASSERT_TRUE(OpenDatabases(root.Paths(), dialogs, dbs));
  Database& db = dbs.song_database;
  for (const QString& text : {QString("Daft Punk"), QString("ÉTIENNE de Crécy"),
                              QString("ΣΩΚΡΑΤΗΣ"), QString("Ünderground's"), QString("")}) {
    EXPECT_EQ(db.LookupText("SELECT casefold('" + EscapeQuotes(text) + "')"), FoldCase(text))
        << text.toStdString();
  }
  EXPECT_EQ(FoldCase("ÉTIENNE Ab"), "étienne ab");
  EXPECT_EQ(db.LookupInteger("SELECT casefold(NULL) IS NULL"), 1);
  EXPECT_EQ(db.LookupText("SELECT casefold(1997)"), "1997");
  CloseDatabases(dbs);
}

}  // namespace
}  // namespace tw
