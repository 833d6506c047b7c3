// Writes the click track of the beat sync test: 32 clicks spaced evenly over 16 seconds
// (120 BPM), 44100 Hz, 16-bit stereo PCM. Beat k lies at (k - 1) * 0.5 s, so the file's
// length divided by 32 is exactly one beat.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr int kBeats = 32;
constexpr int kFramesPerBeat = kRate / 2;

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_beats OUT.wav\n");
    return 2;
  }
  const uint32_t frames = kBeats * kFramesPerBeat;
  std::vector<int16_t> samples(frames * 2, 0);
  // A click: a 1.6 kHz tone with a fast attack and an exponential decay, plus a low thump,
  // short enough (40 ms) that consecutive clicks never touch.
  const int click_frames = kRate / 25;
  for (int beat = 0; beat < kBeats; ++beat) {
    const double accent = (beat % 4 == 0) ? 1.0 : 0.7;
    for (int i = 0; i < click_frames; ++i) {
      const double t = static_cast<double>(i) / kRate;
      const double env = std::exp(-t * 90.0) * std::min(1.0, i / 22.0);
      const double v = accent * env *
                       (0.55 * std::sin(2 * M_PI * 1600.0 * t) + 0.35 * std::sin(2 * M_PI * 90.0 * t));
      const auto s = static_cast<int16_t>(std::lround(v * 30000.0));
      const size_t frame = static_cast<size_t>(beat) * kFramesPerBeat + i;
      samples[frame * 2] = s;
      samples[frame * 2 + 1] = s;
    }
  }
  std::vector<uint8_t> out;
  const uint32_t data_bytes = frames * 4;
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  PutLe(out, 36 + data_bytes, 4);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);  // PCM
  PutLe(out, 2, 2);
  PutLe(out, kRate, 4);
  PutLe(out, kRate * 4, 4);
  PutLe(out, 4, 2);
  PutLe(out, 16, 2);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  PutLe(out, data_bytes, 4);
  for (int16_t s : samples) PutLe(out, static_cast<uint16_t>(s), 2);

  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return (std::fclose(f) == 0 && ok) ? 0 : 1;
}
