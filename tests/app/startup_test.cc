#include "app/core/startup.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include "support/scripted_dialogs.h"
#include "support/temp_root.h"

namespace tw {
namespace {

using testing::ScriptedDialogs;
using testing::TempRoot;

TEST(StartupRules, DisplayAndWorkingDirectory) {
  EXPECT_TRUE(DisplaySupported(1024, 600));
  EXPECT_TRUE(DisplaySupported(800, 600));
  EXPECT_FALSE(DisplaySupported(800, 599));
  EXPECT_FALSE(DisplaySupported(799, 600));
  EXPECT_EQ(ProgramRoot(true, "/opt/tunewright", "/home/dj"), "/opt/tunewright");
  EXPECT_EQ(ProgramRoot(false, "/repo/build/bin", "/repo"), "/repo");
}

TEST(Startup, FirstStartCreatesTheDataAndWarnsOfNothing) {
  TempRoot root;
  root.Remove("assets/data");
  ScriptedDialogs dialogs;
  AppContext context(root.Path(), dialogs);
  ASSERT_TRUE(Startup(context, {}));
  LoadSession(context);
  CheckFolders(context);
  EXPECT_TRUE(dialogs.shown().empty());
  EXPECT_TRUE(context.databases.song_database.IsOpen());
  EXPECT_TRUE(context.databases.file_catalogue.IsOpen());
  EXPECT_EQ(context.catalogue.size(), 22u);
  EXPECT_EQ(context.preferences.IDs, "");
}

TEST(Startup, AbortsWithTheFirstFailingStep) {
  struct Case {
    const char* name;
    std::function<void(TempRoot&)> spoil;
    StartupHooks hooks;
    const char* message;
  };
  const Case cases[] = {
      {"no beats",
       [](TempRoot& r) { r.Remove("assets/beats.wav"); },
       {},
       "Failed to load beats.wav"},
      {"beats before database",
       [](TempRoot& r) {
         r.Remove("assets/beats.wav");
         r.Write("assets/data/tunewright.db1", QByteArray(600, 'x'));
       },
       {},
       "Failed to load beats.wav"},
      {"bad database",
       [](TempRoot& r) { r.Write("assets/data/tunewright.db1", "junk junk junk"); },
       {},
       "Database tunewright.db1 cannot be opened"},
      {"no font",
       [](TempRoot& r) { r.Remove("assets/Bebas-Regular.ttf"); },
       {},
       "Failed to load Bebas-Regular.ttf"},
      {"unusable font",
       [](TempRoot&) {},
       {[](const QString&, const QString&) { return QString(); }, {}},
       "Failed to load Bebas-Regular.ttf"},
      {"no audio output",
       [](TempRoot&) {},
       {{}, [](AppContext&) { return QString("Audio output cannot be initialized."); }},
       "Audio output cannot be initialized."},
  };
  for (const Case& c : cases) {
    TempRoot root;
    c.spoil(root);
    ScriptedDialogs dialogs;
    AppContext context(root.Path(), dialogs);
    EXPECT_FALSE(Startup(context, c.hooks)) << c.name;
    EXPECT_EQ(dialogs.Messages(), std::vector<QString>{"Program aborted|" + QString(c.message)})
        << c.name;
    EXPECT_EQ(dialogs.shown().at(0).icon, DialogIcon::kError);
    // Nothing reaches the preferences on an abort.
    EXPECT_TRUE(root.Read("assets/data/tunewright.ini").isEmpty()) << c.name;
  }
}

TEST(Startup, FolderWarnings) {
  TempRoot root;
  Preferences p;
  EXPECT_EQ(FolderWarning(p), "");
  p.Path_audiofiles = root.File("missing music/");
  EXPECT_EQ(FolderWarning(p), "Music folder " + p.Path_audiofiles + " does not exists.");
  p.Path_sleevesfiles = root.File("missing sleeves/");
  EXPECT_EQ(FolderWarning(p), "Music folder " + p.Path_audiofiles + " does not exists.\n\n" +
                                  "Sleeves folder " + p.Path_sleevesfiles + " does not exists.");
  p.Path_audiofiles = root.File("assets/");
  EXPECT_EQ(FolderWarning(p), "Sleeves folder " + p.Path_sleevesfiles + " does not exists.");

  ScriptedDialogs dialogs;
  AppContext context(root.Path(), dialogs);
  context.preferences = p;
  CheckFolders(context);
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown()[0].title, "Warning");
  EXPECT_EQ(dialogs.shown()[0].icon, DialogIcon::kWarning);
}

TEST(Startup, ShutdownStoresTheSelectedRowForTheNextStart) {
  TempRoot root;
  for (int row : {7, -1}) {
    {
      ScriptedDialogs dialogs;
      AppContext context(root.Path(), dialogs);
      ASSERT_TRUE(Startup(context, {}));
      Shutdown(context, row);
      EXPECT_FALSE(context.databases.song_database.IsOpen());
    }
    ScriptedDialogs dialogs;
    AppContext context(root.Path(), dialogs);
    ASSERT_TRUE(Startup(context, {}));
    LoadSession(context);
    EXPECT_EQ(context.preferences.Playlist_position, row);
  }
}

// The two programs, run as a user would run them.
struct ProgramRun {
  int exit_code;
  QString out;
  QString err;
};

ProgramRun RunProgram(const QString& program, const QStringList& args, const QString& cwd) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TUNEWRIGHT_DIALOGS", "console");
  env.insert("QT_QPA_PLATFORM", "offscreen");
  process.setProcessEnvironment(env);
  process.setWorkingDirectory(cwd);
  process.start(QString(TW_BIN_DIR) + "/" + program, args);
  EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

TEST(Programs, CliInitCreatesTheDataAndCounts) {
  TempRoot root;
  root.Remove("assets/data");
  const ProgramRun run = RunProgram("tunewright-cli", {"init", "--root", root.Path()}, "/");
  EXPECT_EQ(run.exit_code, 0) << run.err.toStdString();
  EXPECT_EQ(run.out, "Songs: 0\nCatalogued files: 0\n");
  EXPECT_TRUE(root.Read("assets/data/tunewright.ini").startsWith("\xEF\xBB\xBF; Tunewright"));
  EXPECT_FALSE(root.Read("assets/data/tunewright.db2").isNull());
}

TEST(Programs, CliInitReportsAnAbortWithExitCodeOne) {
  TempRoot root;
  const QByteArray junk(2048, '\x7f');
  root.Write("assets/data/tunewright.db1", junk);
  const ProgramRun run = RunProgram("tunewright-cli", {"init", "--root", root.Path()}, "/");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(run.err.contains("Database tunewright.db1 cannot be opened"))
      << run.err.toStdString();
  EXPECT_EQ(root.Read("assets/data/tunewright.db1"), junk);
}

TEST(Programs, TheProgramEndsWithCodeZeroOnEveryPath) {
  TempRoot broken(TempRoot::kEmpty);
  const ProgramRun aborted = RunProgram("tunewright", {}, broken.Path());
  EXPECT_EQ(aborted.exit_code, 0);
  EXPECT_TRUE(aborted.err.contains("Program aborted: Failed to load beats.wav"))
      << aborted.err.toStdString();

  // A normal run: it runs until the desktop asks it to end, then stores the session.
  TempRoot root;
  QFile::remove(root.File("assets/Bebas-Regular.ttf"));  // the program really registers it
  ASSERT_TRUE(QFile::copy(QString(TW_SOURCE_DIR) + "/assets/Bebas-Regular.ttf",
                          root.File("assets/Bebas-Regular.ttf")));
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TUNEWRIGHT_DIALOGS", "console");
  env.insert("QT_QPA_PLATFORM", "offscreen");
  program.setProcessEnvironment(env);
  program.setWorkingDirectory(root.Path());
  program.start(QString(TW_BIN_DIR) + "/tunewright", {});
  QByteArray err;
  program.setReadChannel(QProcess::StandardError);
  while (!err.contains("Tunewright: running in") && program.waitForReadyRead(60000)) {
    err += program.readAllStandardError();
  }
  ASSERT_TRUE(err.contains("Tunewright: running in")) << err.toStdString();
  program.terminate();  // SIGTERM
  ASSERT_TRUE(program.waitForFinished(60000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  EXPECT_TRUE(root.Read("assets/data/tunewright.ini").contains("Playlist position = -1"));
}

}  // namespace
}  // namespace tw
