#include <cstdio>

#include <QElapsedTimer>

#include "app/core/app_context.h"
#include "app/core/console_dialogs.h"
#include "app/core/startup.h"
#include "cli/cli_args.h"
#include "cli/commands.h"
#include "library/core/demo_library.h"

namespace tw::cli {

int RunDemo(const QStringList& arguments) {
  QStringList args = arguments;
  bool bad = false;
  const QString root = RootFolder(args, &bad);
  if (bad || RejectLeftovers(args)) return 2;

  ConsoleDialogs dialogs;
  AppContext context(root, dialogs);
  if (!Startup(context, StartupHooks{})) return 1;
  QElapsedTimer timer;
  timer.start();
  std::fputs("Making the demo library (twelve songs)...\n", stderr);
  QString error;
  const int added = CreateDemoLibrary(context.paths, context.databases, &error);
  CloseDatabases(context.databases);
  if (added < 0) {
    std::fprintf(stderr, "demo: %s\n", qPrintable(error));
    return 1;
  }
  std::printf("Demo songs added: %d (%.1f s); music in %s\n", added, timer.elapsed() / 1000.0,
              qPrintable(context.paths.Resolve("music/")));
  return 0;
}

}  // namespace tw::cli
