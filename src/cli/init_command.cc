#include <cstdio>

#include "app/core/app_context.h"
#include "app/core/console_dialogs.h"
#include "app/core/startup.h"
#include "cli/cli_args.h"
#include "cli/commands.h"

namespace tw::cli {

// The start-up of a run without windows or sound: asset checks, data folder, databases, and
// a preferences file with its header.
int RunInit(const QStringList& arguments) {
  QStringList args = arguments;
  bool bad = false;
  const QString root = RootFolder(args, &bad);
  if (bad || RejectLeftovers(args)) return 2;

  ConsoleDialogs dialogs;
  AppContext context(root, dialogs);
  if (!Startup(context, StartupHooks{})) return 1;
  if (auto writer = OpenPreferencesFile(context.paths)) {
    if (!writer->Close()) std::fputs("Warning: the preferences file cannot be written\n", stderr);
  } else {
    std::fputs("Warning: the preferences file cannot be created\n", stderr);
  }
  const auto songs = context.databases.song_database.LookupInteger("SELECT COUNT(id) FROM music");
  const auto files = context.databases.file_catalogue.LookupInteger("SELECT COUNT(id) FROM files");
  std::printf("Songs: %lld\nCatalogued files: %lld\n", static_cast<long long>(songs),
              static_cast<long long>(files));
  CloseDatabases(context.databases);
  return 0;
}

}  // namespace tw::cli
