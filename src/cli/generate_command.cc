#include <cstdint>
#include <cstdio>
#include <optional>

#include <QDir>

#include "app/core/app_context.h"
#include "app/core/console_dialogs.h"
#include "app/core/startup.h"
#include "cli/cli_args.h"
#include "cli/commands.h"
#include "playlist/random_playlist_command.h"
#include "playlist/random_source.h"
#include "playlist/song_play_time.h"

namespace tw::cli {
namespace {

// Reads --seed N: a whole number from 0 to 2^64 - 1.
bool TakeSeed(QStringList& args, std::optional<uint64_t>* seed, bool* bad) {
  const std::optional<QString> text = TakeOption(args, "--seed", bad);
  if (!text) return true;
  bool ok = false;
  const uint64_t value = text->toULongLong(&ok);
  if (!ok) {
    std::fprintf(stderr, "tunewright-cli: --seed needs a whole number, not '%s'\n",
                 qPrintable(*text));
    return false;
  }
  *seed = value;
  return true;
}

}  // namespace

// One random playlist from the library and preferences below the root, as the window command
// would make it: its PlaylistText on standard output, or the command's warning on standard
// error and exit status 1. A seed makes the run repeatable.
int RunGenerate(const QStringList& arguments) {
  QStringList args = arguments;
  bool bad = false;
  const QString root = RootFolder(args, &bad);
  std::optional<uint64_t> seed;
  if (!TakeSeed(args, &seed, &bad) || bad || RejectLeftovers(args)) return 2;

  ConsoleDialogs dialogs;
  AppContext context(root, dialogs);
  if (!Startup(context, StartupHooks{})) return 1;
  LoadSession(context);

  RandomSource random = seed ? RandomSource(*seed) : RandomSource::FromSystem();
  // The music folder may be relative to the root, which need not be the working directory.
  const QDir root_dir(root);
  const SongLengthProbe engine_length = EngineSongLength();
  const SongLengthProbe song_length = [&](const QString& path) {
    return engine_length(root_dir.filePath(path));
  };
  const RandomPlaylist result = CheckedRandomPlaylist(context.databases.song_database,
                                                      context.preferences, random, song_length);
  CloseDatabases(context.databases);
  if (result.text.isEmpty()) {
    std::fprintf(stderr, "%s: %s\n", kRandomPlaylistErrorTitle, qPrintable(result.refusal));
    return 1;
  }
  std::printf("%s\n", result.text.toUtf8().constData());
  return 0;
}

}  // namespace tw::cli
