// Peak resident memory (VmHWM) of the process while a playing mixer sounds two streams through
// the null output in real time.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "audio/engine/engine.h"
#include "mixer_bench_sources.h"

namespace {

long StatusKb(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
  }
  return -1;
}

}  // namespace

int main() {
  using namespace tw::engine;
  const long before = StatusKb("VmHWM");
  long during = 0;
  int64_t underruns = 0;
  {
    Engine engine;
    const StartResult started = engine.Start(OutputChoice::kNull);
    if (!started.ok()) {
      std::fprintf(stderr, "bench_mixer_memory: %s\n", started.message.c_str());
      return 1;
    }
    const Channel mixer = engine.CreateMixer(MixerKind::kPlaying);
    for (uint32_t seed : {1u, 2u}) {
      const Channel s = engine.CreateStream(
          std::make_unique<tw::bench::LoopedPcmDecoder>(44100 * 300, 124.0, seed),
          StreamKind::kDecode);
      engine.SetRate(s, seed == 1 ? 43000 : 45000);
      engine.AddSource(mixer, s);
    }
    engine.AddHighPass(mixer);
    engine.Play(mixer, true);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    during = StatusKb("VmHWM");
    underruns = engine.OutputUnderruns();
    std::printf("mixer memory: played %.2f s in 2 s of real time, %lld underruns\n",
                static_cast<double>(engine.Position(mixer).value) / 44100.0,
                static_cast<long long>(underruns));
  }
  std::printf(
      "mixer memory: VmHWM %ld kB before the engine, %ld kB while two streams play (each "
      "synthetic source holds 8 s of PCM, %ld kB, standing in for a compressed file)\n",
      before, during, 44100L * 8 * 2 * 4 / 1024);
  return 0;
}
