#include <gtest/gtest.h>

#include <QDir>

#include "app/core/export_file_choice.h"
#include "support/scripted_dialogs.h"
#include "support/temp_root.h"

namespace tw {
namespace {

using testing::ScriptedDialogs;

TEST(ChooseExportFile, AsksUntilAFileIsAcceptedOrTheUserGivesUp) {
  testing::TempRoot root;
  const QString existing = root.File("exports/old.MP3");
  root.Write("exports/old.MP3", "x");
  {
    SCOPED_TRACE("cancelled requester");
    ScriptedDialogs dialogs;
    dialogs.ChooseNext({});
    EXPECT_FALSE(ChooseExportFile(dialogs, root.Paths()).has_value());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].title, "Save mix as...");
    EXPECT_EQ(dialogs.shown()[0].pattern, "MP3 file|*.mp3");
    EXPECT_TRUE(dialogs.shown()[0].text.endsWith(QDir::toNativeSeparators("exports/mix.mp3")));
  }
  {
    SCOPED_TRACE("existing file: Cancel ends, Yes accepts (the extension in capitals)");
    ScriptedDialogs dialogs;
    dialogs.ChooseNext(existing);
    dialogs.AnswerNext(DialogAnswer::kCancel);
    EXPECT_FALSE(ChooseExportFile(dialogs, root.Paths()).has_value());
    dialogs.ChooseNext(existing);
    dialogs.AnswerNext(DialogAnswer::kYes);
    EXPECT_EQ(ChooseExportFile(dialogs, root.Paths()), existing);
    EXPECT_EQ(dialogs.Messages().back(),
              "Save mix warning|File old.MP3 already exists.\r\rDo you want to overwrite this "
              "file?");
  }
  {
    SCOPED_TRACE("a missing exports folder is made");
    testing::TempRoot fresh;
    ScriptedDialogs dialogs;
    dialogs.ChooseNext(fresh.File("exports/new.mp3"));
    EXPECT_EQ(ChooseExportFile(dialogs, fresh.Paths()), fresh.File("exports/new.mp3"));
    EXPECT_TRUE(QDir(fresh.File("exports")).exists());
  }
}

}  // namespace
}  // namespace tw
