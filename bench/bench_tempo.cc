// Tempo detection on synthetic drum loops of known tempo, written as WAV files and measured
// the way the library does it (analysis window, single fold into 70-160 BPM): the hit rate
// within 0.5 BPM, and the raw engine estimate beside it.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/engine/decoder.h"
#include "audio/engine/tempo.h"
#include "engine/decode_fixtures.h"
#include "library/core/detect_tempo.h"

int main() {
  const double tempos[] = {70.0,  76.5,  82.0,  87.5,  93.0,  99.9,  105.0,
                           112.3, 120.0, 126.0, 133.3, 140.0, 152.0, 170.0};
  tw::test::TempDir dir;
  int hits = 0;
  int raw_hits = 0;
  std::printf("%8s %-12s %10s %8s %8s\n", "true", "pattern", "raw", "folded", "text");
  for (size_t i = 0; i < std::size(tempos); ++i) {
    const auto style = i % 2 ? tw::test::DrumStyle::kKickAndHats : tw::test::DrumStyle::kFullKit;
    const std::string path = dir.File("track" + std::to_string(i) + ".wav");
    tw::test::WriteWav(path, tw::test::MakeDrumTrack(tempos[i], 40.0, i + 1, style), 2);
    auto decoder = tw::engine::OpenDecoder(path);
    const double raw =
        decoder ? tw::engine::EstimateTempoBpm(*decoder, 0, 30 * tw::test::kRate) : 0;
    const QString text = tw::library::DetectTempo(QString::fromStdString(path));
    const float expected = tw::library::FoldTempo(static_cast<float>(tempos[i]));
    const bool hit = std::fabs(text.toDouble() - expected) <= 0.5;
    hits += hit;
    raw_hits += std::fabs(raw - tempos[i]) <= 0.5;
    std::printf("%8.2f %-12s %10.3f %8.2f %8s%s\n", tempos[i], i % 2 ? "kick+hats" : "full kit",
                raw, expected, qPrintable(text), hit ? "" : "  MISS");
  }
  std::printf(
      "DetectTempo hit rate within 0.5 BPM: %d/%zu; raw estimate at the true octave: %d/%zu\n",
      hits, std::size(tempos), raw_hits, std::size(tempos));
  return 0;
}
