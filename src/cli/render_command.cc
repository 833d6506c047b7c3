#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/core/app_context.h"
#include "app/core/console_dialogs.h"
#include "app/core/startup.h"
#include "audio/mix_export.h"
#include "cli/cli_args.h"
#include "cli/commands.h"
#include "playlist/playlist_parser.h"
#include "playlist/random_playlist_command.h"
#include "playlist/random_source.h"
#include "playlist/song_play_time.h"

namespace tw::cli {
namespace {

int Fail(const QString& message) {
  std::fprintf(stderr, "tunewright-cli: %s\n", qPrintable(message));
  return 1;
}

// The first line of a playlist file, without a byte-order mark.
std::optional<QString> ReadPlaylistLine(const QString& path, QString* error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *error = "cannot read " + path + ": " + file.errorString();
    return std::nullopt;
  }
  QString text = QString::fromUtf8(file.readAll());
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  return text.section('\n', 0, 0).trimmed();
}

}  // namespace

// Renders a playlist as the export does, through the same scheduler, into an MP3 (320 kbit/s)
// or a 16-bit WAV file, with the song list beside it. Progress goes to standard error.
int RunRender(const QStringList& arguments) {
  QStringList args = arguments;
  bool bad = false;
  const QString root = RootFolder(args, &bad);
  const std::optional<QString> playlist_file = TakeOption(args, "--playlist", &bad);
  const std::optional<QString> out = TakeOption(args, "--out", &bad);
  const std::optional<QString> seed_text = TakeOption(args, "--seed", &bad);
  const bool random = args.removeAll("--random") > 0;
  if (bad || RejectLeftovers(args)) return 2;
  if (!out || playlist_file.has_value() == random) {
    std::fprintf(stderr,
                 "usage: tunewright-cli render [--root DIR] (--playlist FILE.mix | --random "
                 "[--seed N]) --out FILE.mp3|FILE.wav\n");
    return 2;
  }
  const QString suffix = QFileInfo(*out).suffix().toLower();
  if (suffix != "mp3" && suffix != "wav") return Fail("the output file must end in .mp3 or .wav");
  std::optional<uint64_t> seed;
  if (seed_text) {
    bool ok = false;
    seed = seed_text->toULongLong(&ok);
    if (!ok) return Fail("--seed needs a whole number, not '" + *seed_text + "'");
  }

  ConsoleDialogs dialogs;
  AppContext context(root, dialogs);
  if (!Startup(context, StartupHooks{})) return 1;
  LoadSession(context);
  const QString audio_failure = StartAudio(context, engine::OutputChoice::kNone);
  if (!audio_failure.isEmpty()) return Fail(audio_failure);

  QString text;
  if (playlist_file) {
    QString error;
    const std::optional<QString> line = ReadPlaylistLine(*playlist_file, &error);
    if (!line) return Fail(error);
    text = *line;
  } else {
    RandomSource source = seed ? RandomSource(*seed) : RandomSource::FromSystem();
    const QDir root_dir(root);
    const SongLengthProbe engine_length = EngineSongLength();
    const SongLengthProbe song_length = [&](const QString& path) {
      return engine_length(root_dir.filePath(path));
    };
    const RandomPlaylist result = CheckedRandomPlaylist(context.databases.song_database,
                                                        context.preferences, source, song_length);
    if (result.text.isEmpty()) return Fail(result.refusal);
    text = result.text;
  }
  if (!ParsePlaylistText(context.databases.song_database, text, context.playlist)) {
    return Fail("the playlist holds no song of the library");
  }

  MixExport mix(context.audio, context.scheduler, context.playlist);
  const engine::EncoderFormat format =
      suffix == "mp3" ? engine::EncoderFormat::kMp3_320 : engine::EncoderFormat::kWav16;
  QString error;
  const auto started = std::chrono::steady_clock::now();
  if (!mix.Prepare(*out, format, dialogs, &error)) {
    mix.Finish(0.75f, false, nullptr);
    return error.isEmpty() ? 1 : Fail(error);
  }
  std::fprintf(stderr, "Rendering %d songs to %s\n", context.playlist.size(), qPrintable(*out));
  mix.Start();
  int shown = -1;
  while (mix.Running()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const int percent = static_cast<int>(mix.Progress() + 0.5f);
    if (percent != shown) std::fprintf(stderr, "\r%3d%%", shown = percent);
  }
  const bool written = mix.Finish(0.75f, false, &error);
  const QString playing_error = context.scheduler.TakePlayingError();
  const double seconds = static_cast<double>(mix.rendered_frames()) / engine::kMixRate;
  const double took =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::fprintf(stderr, "\r100%%\n");
  CloseDatabases(context.databases);
  if (!written) return Fail(error);
  if (!playing_error.isEmpty()) return Fail(PlayingErrorText(playing_error));
  std::fprintf(stderr, "Rendered %.1f minutes in %.1f s (%.0fx real time); song list %s\n",
               seconds / 60, took, took > 0 ? seconds / took : 0.0, qPrintable(SongListPath(*out)));
  return 0;
}

}  // namespace tw::cli
