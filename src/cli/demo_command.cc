#include <cstdio>

#include <QDir>
#include <QElapsedTimer>

#include "app/core/app_context.h"
#include "app/core/console_dialogs.h"
#include "app/core/startup.h"
#include "cli/cli_args.h"
#include "cli/commands.h"
#include "library/core/demo_library.h"
#include "playlist/load_playlist.h"
#include "playlist/random_playlist_command.h"
#include "playlist/random_source.h"
#include "playlist/song_play_time.h"

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
  if (added < 0) {
    CloseDatabases(context.databases);
    std::fprintf(stderr, "demo: %s\n", qPrintable(error));
    return 1;
  }
  // A first start should find a playlist to play: without a session playlist, the demo
  // stores a random one (always the same).
  LoadSession(context);
  if (context.preferences.IDs.isEmpty()) {
    RandomSource random(2);
    const SongLengthProbe engine_length = EngineSongLength();
    const QDir root_dir(root);
    const RandomPlaylist playlist = CheckedRandomPlaylist(
        context.databases.song_database, context.preferences, random,
        [&](const QString& path) { return engine_length(root_dir.filePath(path)); });
    if (!playlist.text.isEmpty()) StoreSessionPlaylist(context.paths, playlist.text);
  }
  CloseDatabases(context.databases);
  std::printf("Demo songs added: %d (%.1f s); music in %s\n", added, timer.elapsed() / 1000.0,
              qPrintable(context.paths.Resolve("music/")));
  return 0;
}

}  // namespace tw::cli
