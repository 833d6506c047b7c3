// Decoding speed per format in times real time: a minute of synthetic stereo audio encoded
// once per format, then decoded whole in 4096-frame blocks as the read-ahead would, and
// 1000 random seeks each followed by one block.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "audio/engine/decoder.h"
#include "engine/decode_fixtures.h"

namespace {

struct Format {
  const char* name;
  const char* extension;
  const char* program;
  const char* command;  // {in}, {out}
};

constexpr Format kFormats[] = {
    {"WAV", "wav", nullptr, nullptr},
    {"AIFF", "aiff", nullptr, nullptr},
    {"MP3 192k", "mp3", "lame", "lame --quiet -b 192 {in} {out}"},
    {"MP3 V2", "mp3", "lame", "lame --quiet -V 2 {in} {out}"},
    {"MP2 192k", "mp2", "twolame", "twolame --quiet -b 192 {in} {out}"},
    {"Ogg q5", "ogg", "oggenc", "oggenc -Q -q 5 -o {out} {in}"},
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

}  // namespace

int main() {
  constexpr int64_t kFrames = 60 * tw::test::kRate;
  tw::test::TempDir dir;
  const std::vector<int16_t> source = tw::test::MakeChirpAndNoise(kFrames);
  const std::string wav = dir.File("source.wav");
  tw::test::WriteWav(wav, source, 2);
  std::printf("%-10s %10s %12s %16s\n", "format", "open ms", "decode x RT", "1000 seeks ms");
  int index = 0;
  for (const Format& f : kFormats) {
    const std::string path =
        dir.File("bench" + std::to_string(index++) + "." + std::string(f.extension));
    if (!f.program) {
      std::string(f.extension) == "wav" ? tw::test::WriteWav(path, source, 2)
                                        : tw::test::WriteAiff(path, source, 2);
    } else if (!tw::test::HaveProgram(f.program) ||
               !tw::test::RunQuietly(Replace(Replace(f.command, "{in}", wav), "{out}", path))) {
      std::printf("%-10s skipped: %s missing or failed\n", f.name, f.program);
      continue;
    }
    const auto open_start = std::chrono::steady_clock::now();
    auto decoder = tw::engine::OpenDecoder(path);
    const double open_ms = 1000 * Seconds(std::chrono::steady_clock::now() - open_start);
    if (!decoder) {
      std::printf("%-10s failed to open\n", f.name);
      continue;
    }
    std::vector<float> block(4096 * 2);
    double decoded_seconds = 0;
    const auto decode_start = std::chrono::steady_clock::now();
    for (int pass = 0; pass < 3; ++pass) {
      decoder->Seek(0);
      int64_t frames = 0, got = 0;
      while ((got = decoder->Read(block.data(), 4096)) > 0) frames += got;
      decoded_seconds += static_cast<double>(frames) / tw::test::kRate;
    }
    const double speed = decoded_seconds / Seconds(std::chrono::steady_clock::now() - decode_start);
    std::mt19937 random(1);
    std::uniform_int_distribution<int64_t> position(0, decoder->LengthFrames() - 1);
    const auto seek_start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) {
      decoder->Seek(position(random));
      decoder->Read(block.data(), 4096);
    }
    const double seeks_ms = 1000 * Seconds(std::chrono::steady_clock::now() - seek_start);
    std::printf("%-10s %10.1f %12.0f %16.1f\n", f.name, open_ms, speed, seeks_ms);
  }
  return 0;
}
