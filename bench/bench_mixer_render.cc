// Offline render of a long two-source mix (a rate change on every beat, volume ramps, the
// high-pass filter switched on and off), to PCM and to MP3 320k, compared with what decoding
// the sources and encoding the same length alone cost.
#include <lame/lame.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/engine/engine.h"
#include "mixer_bench_sources.h"

namespace {

using namespace tw::engine;
using tw::bench::LoopedPcmDecoder;
using tw::bench::SecondsSince;

constexpr double kBpm = 124.0;
constexpr int64_t kBeatFrames = static_cast<int64_t>(44100 * 60.0 / kBpm);
constexpr int64_t kBlock = 256;  // what the export's pump reads at a time

struct Mix {
  Channel mixer;
  Channel a;
  Channel b;
  Effect a_level;
  Effect b_level;
  Effect filter;
  int64_t beat = 0;
};

// Every beat of A: retune B, every 16 beats start a level ramp, every 32 beats toggle the
// filter on B.
void OnBeat(const SyncEvent& e) {
  auto* mix = static_cast<Mix*>(e.context);
  Engine& engine = *e.engine;
  ++mix->beat;
  engine.SetRate(mix->b, 44100.0 * (1.0 + 0.01 * static_cast<double>(mix->beat % 7 - 3) / 3.0));
  if (mix->beat % 16 == 0) {
    const bool down = (mix->beat / 16) % 2 == 1;
    engine.SetVolumeEffect(mix->a_level, {down ? 0.3f : 1.0f, -1.0f, 2.0});
    engine.SetVolumeEffect(mix->b_level, {down ? 1.0f : 0.5f, -1.0f, 2.0});
  }
  if (mix->beat % 32 == 0) {
    if (mix->filter) {
      engine.RemoveEffect(mix->filter);
      mix->filter = Effect{};
    } else {
      mix->filter = engine.AddHighPass(mix->b, {300.0, 0.7});
    }
  }
  engine.SetPositionSync(e.channel, Frames(engine.Position(e.channel).value + kBeatFrames),
                         SyncMode::kOnce, &OnBeat, 0, mix);
}

void SetUp(Engine& engine, Mix& mix, int64_t frames) {
  mix.mixer = engine.CreateMixer(MixerKind::kDecoding);
  mix.a = engine.CreateStream(std::make_unique<LoopedPcmDecoder>(frames + 44100, kBpm, 1),
                              StreamKind::kDecode);
  mix.b = engine.CreateStream(std::make_unique<LoopedPcmDecoder>(frames * 2, kBpm * 0.98, 2),
                              StreamKind::kDecode);
  engine.SetRate(mix.a, 43500);
  engine.AddSource(mix.mixer, mix.a);
  engine.AddSource(mix.mixer, mix.b);
  mix.a_level = engine.AddVolumeEffect(mix.a, {1.0f, -1.0f, 0.0});
  mix.b_level = engine.AddVolumeEffect(mix.b, {0.5f, -1.0f, 0.0});
  engine.SetPositionSync(mix.a, Frames(kBeatFrames), SyncMode::kOnce, &OnBeat, 0, &mix);
}

double RenderMix(int64_t frames, const std::string& mp3_path) {
  Engine engine;
  Mix mix;
  SetUp(engine, mix, frames);
  std::string error;
  if (!mp3_path.empty() &&
      !engine.StartEncoder(mix.mixer, EncoderFormat::kMp3_320, mp3_path, &error)) {
    std::fprintf(stderr, "bench_mixer_render: %s\n", error.c_str());
    std::exit(1);
  }
  std::vector<float> block(kBlock * 2);
  const auto start = std::chrono::steady_clock::now();
  for (int64_t done = 0; done < frames; done += kBlock) {
    engine.RenderDecoding(mix.mixer, block.data(), std::min(kBlock, frames - done));
  }
  if (!mp3_path.empty()) engine.StopEncoder(mix.mixer, &error);
  return SecondsSince(start);
}

// Reading both sources at their own speed for the mix's length: the decoding share of the work.
double DecodeAlone(int64_t frames) {
  LoopedPcmDecoder a(frames + 44100, kBpm, 1);
  LoopedPcmDecoder b(frames * 2, kBpm * 0.98, 2);
  std::vector<float> block(4096 * 2);
  const auto start = std::chrono::steady_clock::now();
  for (int64_t done = 0; done < frames; done += 4096) {
    a.Read(block.data(), 4096);
    b.Read(block.data(), 4096);
  }
  return SecondsSince(start);
}

double EncodeAlone(int64_t frames, const std::string& path) {
  LoopedPcmDecoder source(frames, kBpm, 3);
  lame_global_flags* lame = lame_init();
  lame_set_num_channels(lame, 2);
  lame_set_in_samplerate(lame, 44100);
  lame_set_brate(lame, 320);
  lame_set_mode(lame, STEREO);
  lame_set_VBR(lame, vbr_off);
  lame_init_params(lame);
  FILE* file = std::fopen(path.c_str(), "wb");
  std::vector<float> block(4096 * 2);
  std::vector<unsigned char> out(4096 * 5 / 4 + 7200);
  const auto start = std::chrono::steady_clock::now();
  for (int64_t done = 0; done < frames; done += 4096) {
    const int n = static_cast<int>(source.Read(block.data(), 4096));
    const int bytes = lame_encode_buffer_interleaved_ieee_float(lame, block.data(), n, out.data(),
                                                                static_cast<int>(out.size()));
    if (bytes > 0 && file) std::fwrite(out.data(), 1, static_cast<size_t>(bytes), file);
  }
  const int bytes = lame_encode_flush(lame, out.data(), static_cast<int>(out.size()));
  if (bytes > 0 && file) std::fwrite(out.data(), 1, static_cast<size_t>(bytes), file);
  const double seconds = SecondsSince(start);
  if (file) std::fclose(file);
  lame_close(lame);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  double minutes = 60.0;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--minutes") == 0) minutes = std::atof(argv[i + 1]);
  }
  if (const char* env = std::getenv("TW_BENCH_MINUTES")) minutes = std::atof(env);
  const int64_t frames = static_cast<int64_t>(minutes * 60.0 * 44100.0);
  const double length = static_cast<double>(frames) / 44100.0;
  const std::string dir = std::filesystem::temp_directory_path().string();

  const double pcm = RenderMix(frames, "");
  std::printf("mixer render, %.0f min two-source mix to PCM: %.2f s, %.0fx real time\n", minutes,
              pcm, length / pcm);
  const double mp3 = RenderMix(frames, dir + "/tw_bench_mix.mp3");
  const double decode = DecodeAlone(frames);
  const double encode = EncodeAlone(frames, dir + "/tw_bench_alone.mp3");
  std::printf(
      "mixer render to MP3 320k: %.2f s (%.0fx real time); decode alone %.2f s + encode alone "
      "%.2f s; ratio %.2f (target <= 1.0)\n",
      mp3, length / mp3, decode, encode, mp3 / (decode + encode));
  std::filesystem::remove(dir + "/tw_bench_mix.mp3");
  std::filesystem::remove(dir + "/tw_bench_alone.mp3");
  return 0;
}
