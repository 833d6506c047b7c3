// A 12-song mix of the demo library rendered to MP3 320k through the export, against the
// same work done by separate tools: decoding the songs with the engine's decoders and encoding
// the mix's length with the LAME command-line encoder (-b 320 -m s) reading PCM from a pipe.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include "app/core/app_context.h"
#include "app/core/console_dialogs.h"
#include "app/core/startup.h"
#include "audio/mix_export.h"
#include "library/core/demo_library.h"
#include "playlist/playlist_parser.h"

namespace {

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  QDir(dir.path()).mkpath("assets/data");
  for (const char* asset :
       {"assets/beats.wav", "assets/Bebas-Regular.ttf", "assets/Bebas-Bold.ttf"}) {
    QFile::copy(QString(TW_BENCH_SOURCE_DIR "/") + asset, dir.filePath(asset));
  }
  tw::ConsoleDialogs dialogs;
  tw::AppContext context(dir.path(), dialogs);
  if (!tw::Startup(context, tw::StartupHooks{})) return 1;
  QString error;
  auto started = std::chrono::steady_clock::now();
  if (tw::CreateDemoLibrary(context.paths, context.databases, &error) < 0) {
    std::fprintf(stderr, "bench_render_mix: %s\n", qPrintable(error));
    return 1;
  }
  const double demo_seconds = Since(started);
  tw::LoadSession(context);
  if (!tw::StartAudio(context, tw::engine::OutputChoice::kNone).isEmpty()) return 1;

  // All twelve songs in tempo order, at the first song's tempo.
  QStringList ids, times;
  for (int id = 1; id <= 12; ++id) {
    ids << (id == 1 ? "1R" : QString::number(id));
    times << "200.00";
  }
  if (!tw::ParsePlaylistText(context.databases.song_database, ids.join(',') + "|" + times.join(','),
                             context.playlist)) {
    return 1;
  }

  const QString mp3 = dir.filePath("mix.mp3");
  tw::MixExport mix(context.audio, context.scheduler, context.playlist);
  started = std::chrono::steady_clock::now();
  if (!mix.Prepare(mp3, tw::engine::EncoderFormat::kMp3_320, dialogs, &error)) return 1;
  mix.Start();
  while (mix.Running()) QThread::msleep(5);
  if (!mix.Finish(0.75f, false, &error)) return 1;
  const double render_seconds = Since(started);
  const double mix_seconds = static_cast<double>(mix.rendered_frames()) / tw::engine::kMixRate;

  // The same work by separate tools: every song decoded whole, and the mix's length of PCM
  // encoded by lame.
  started = std::chrono::steady_clock::now();
  std::vector<float> block(2 * 4096);
  for (const tw::PlaylistEntry& e : context.playlist.entries) {
    const QString path = tw::AudioFolder(context) + e.filename;
    const tw::engine::Channel s = context.audio.engine().CreateStream(
        QFile::encodeName(path).toStdString(), tw::engine::StreamKind::kDecode);
    while (context.audio.engine().ReadFrames(s, block.data(), 4096) > 0) {
    }
    context.audio.engine().Free(s);
  }
  const double decode_seconds = Since(started);
  started = std::chrono::steady_clock::now();
  const std::string command =
      "lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian "
      "-b 320 -m s - " +
      QFile::encodeName(dir.filePath("lame.mp3")).toStdString();
  FILE* lame = popen(command.c_str(), "w");
  if (!lame) return 1;
  std::vector<int16_t> pcm(2 * 4096);
  for (int64_t i = 0; i < static_cast<int64_t>(pcm.size()); ++i) {
    pcm[static_cast<size_t>(i)] = static_cast<int16_t>((i * 7919) % 20000 - 10000);
  }
  const auto total = static_cast<int64_t>(mix_seconds * tw::engine::kMixRate);
  for (int64_t done = 0; done < total; done += 4096) fwrite(pcm.data(), 4, 4096, lame);
  pclose(lame);
  const double lame_seconds = Since(started);

  std::printf("demo library made in %.1f s\n", demo_seconds);
  std::printf("render, %.1f min %d-song mix to MP3 320k: %.1f s, %.0fx real time, %.1f MB\n",
              mix_seconds / 60, context.playlist.size(), render_seconds,
              mix_seconds / render_seconds, QFileInfo(mp3).size() / 1e6);
  std::printf("separate tools: decode %.1f s + lame %.1f s = %.1f s; ratio %.2f (target <= 1.0)\n",
              decode_seconds, lame_seconds, decode_seconds + lame_seconds,
              render_seconds / (decode_seconds + lame_seconds));
  tw::CloseDatabases(context.databases);
  return 0;
}
