// Audio fixtures the engine tests write for themselves: a synthetic source signal, drum
// tracks of known tempo, WAV and AIFF writers with optional tag chunks, and the command-line
// encoders for the lossy formats.
#ifndef TUNEWRIGHT_TESTS_ENGINE_DECODE_FIXTURES_H_
#define TUNEWRIGHT_TESTS_ENGINE_DECODE_FIXTURES_H_

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "audio/engine/decoder.h"

namespace tw::test {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// A temporary folder removed with everything in it.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tw-engine-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Stereo 16-bit: a rising chirp on the left, a falling one on the right, each under its own
// noise, so no stretch of it resembles another and a misplaced read cannot match by chance.
inline std::vector<int16_t> MakeChirpAndNoise(int64_t frames) {
  std::vector<int16_t> samples(static_cast<size_t>(frames * 2));
  std::mt19937 noise(7);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  const double seconds = static_cast<double>(frames) / kRate;
  for (int64_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double up = 2 * kPi * (150 * t + (6000 - 150) / (2 * seconds) * t * t);
    const double down = 2 * kPi * (6000 * t - (6000 - 150) / (2 * seconds) * t * t);
    samples[static_cast<size_t>(2 * i)] =
        static_cast<int16_t>(std::lrint(9000 * std::sin(up) + 3000 * uniform(noise)));
    samples[static_cast<size_t>(2 * i + 1)] =
        static_cast<int16_t>(std::lrint(9000 * std::sin(down) + 3000 * uniform(noise)));
  }
  return samples;
}

enum class DrumStyle {
  kFullKit,      // kick on every beat, snare on two and four, eighth hi-hats, off-beat bass
  kKickAndHats,  // kick on every beat and an open hi-hat on every off-beat only
};

// Stereo 16-bit dance-like loop at `bpm`.
inline std::vector<int16_t> MakeDrumTrack(double bpm, double seconds, uint32_t seed,
                                          DrumStyle style = DrumStyle::kFullKit) {
  const bool full = style == DrumStyle::kFullKit;
  const int64_t frames = static_cast<int64_t>(seconds * kRate);
  std::vector<double> mix(static_cast<size_t>(frames), 0.0);
  std::mt19937 noise(seed);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  const double beat = 60.0 / bpm;
  auto add = [&](double at, double length, auto voice) {
    const int64_t first = static_cast<int64_t>(std::lround(at * kRate));
    const int64_t count = static_cast<int64_t>(length * kRate);
    for (int64_t i = 0; i < count && first + i < frames; ++i) {
      mix[static_cast<size_t>(first + i)] += voice(static_cast<double>(i) / kRate);
    }
  };
  double hat_state = 0;
  for (int n = 0; n * beat < seconds; ++n) {
    const double at = n * beat;
    add(at, 0.25, [](double t) {
      return 0.8 * std::exp(-t / 0.06) *
             std::sin(2 * kPi * (50 * t + 120 * 0.03 * (1 - std::exp(-t / 0.03))));
    });
    if (full && n % 2 == 1) {
      add(at, 0.15, [&](double t) { return 0.35 * std::exp(-t / 0.04) * uniform(noise); });
    }
    for (double half : {0.0, 0.5}) {
      if (!full && half == 0.0) continue;
      const double decay = full ? 0.01 : 0.03;
      add(at + half * beat, 4 * decay, [&](double t) {
        const double white = uniform(noise);
        const double high = white - hat_state;  // first difference: a crude high-pass
        hat_state = white;
        return 0.2 * std::exp(-t / decay) * high;
      });
    }
    if (!full) continue;
    const double bass_hz = (n / 4) % 2 == 0 ? 55.0 : 65.4;
    add(at + 0.5 * beat, 0.4 * beat, [bass_hz](double t) {
      return 0.3 * std::min(1.0, t / 0.005) * std::sin(2 * kPi * bass_hz * t);
    });
  }
  std::vector<int16_t> samples(static_cast<size_t>(frames * 2));
  for (int64_t i = 0; i < frames; ++i) {
    const double v = std::clamp(mix[static_cast<size_t>(i)], -1.0, 1.0) * 30000;
    samples[static_cast<size_t>(2 * i)] = samples[static_cast<size_t>(2 * i + 1)] =
        static_cast<int16_t>(std::lrint(v));
  }
  return samples;
}

using Bytes = std::vector<uint8_t>;

inline void PutLe(Bytes* b, uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b->push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void PutBe(Bytes* b, uint32_t v, int n) {
  for (int i = n - 1; i >= 0; --i) b->push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void PutText(Bytes* b, const std::string& s) { b->insert(b->end(), s.begin(), s.end()); }

struct Chunk {
  std::string id;  // four characters
  Bytes body;
};

inline void PutChunk(Bytes* b, const Chunk& chunk, bool big_endian) {
  PutText(b, chunk.id);
  big_endian ? PutBe(b, static_cast<uint32_t>(chunk.body.size()), 4)
             : PutLe(b, static_cast<uint32_t>(chunk.body.size()), 4);
  b->insert(b->end(), chunk.body.begin(), chunk.body.end());
  if (chunk.body.size() % 2) b->push_back(0);
}

inline bool WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool WriteWav(const std::string& path, const std::vector<int16_t>& samples, int channels,
                     const std::vector<Chunk>& extra = {}) {
  Chunk fmt{"fmt ", {}};
  PutLe(&fmt.body, 1, 2);
  PutLe(&fmt.body, static_cast<uint32_t>(channels), 2);
  PutLe(&fmt.body, kRate, 4);
  PutLe(&fmt.body, static_cast<uint32_t>(kRate * channels * 2), 4);
  PutLe(&fmt.body, static_cast<uint32_t>(channels * 2), 2);
  PutLe(&fmt.body, 16, 2);
  Chunk data{"data", {}};
  for (const int16_t s : samples) PutLe(&data.body, static_cast<uint16_t>(s), 2);
  Bytes body;
  PutText(&body, "WAVE");
  PutChunk(&body, fmt, false);
  PutChunk(&body, data, false);
  for (const Chunk& c : extra) PutChunk(&body, c, false);
  Bytes file;
  PutChunk(&file, {"RIFF", body}, false);
  return WriteBytes(path, file);
}

inline bool WriteAiff(const std::string& path, const std::vector<int16_t>& samples, int channels,
                      const std::vector<Chunk>& extra = {}) {
  Chunk comm{"COMM", {}};
  PutBe(&comm.body, static_cast<uint32_t>(channels), 2);
  PutBe(&comm.body, static_cast<uint32_t>(samples.size() / channels), 4);
  PutBe(&comm.body, 16, 2);
  // The rate as an 80-bit extended float: exponent, then the integer shifted to bit 63.
  int exponent = 0;
  while ((kRate >> (exponent + 1)) > 0) ++exponent;
  PutBe(&comm.body, static_cast<uint32_t>(16383 + exponent), 2);
  const uint64_t mantissa = static_cast<uint64_t>(kRate) << (63 - exponent);
  PutBe(&comm.body, static_cast<uint32_t>(mantissa >> 32), 4);
  PutBe(&comm.body, static_cast<uint32_t>(mantissa), 4);
  Chunk ssnd{"SSND", {}};
  PutBe(&ssnd.body, 0, 4);
  PutBe(&ssnd.body, 0, 4);
  for (const int16_t s : samples) PutBe(&ssnd.body, static_cast<uint16_t>(s), 2);
  Bytes body;
  PutText(&body, "AIFF");
  PutChunk(&body, comm, true);
  PutChunk(&body, ssnd, true);
  for (const Chunk& c : extra) PutChunk(&body, c, true);
  Bytes file;
  PutChunk(&file, {"FORM", body}, true);
  return WriteBytes(path, file);
}

struct TagFields {
  std::string artist, title, year, genre;
};

// An ID3v2.4 tag with UTF-8 text frames.
inline Bytes Id3v2Tag(const TagFields& f) {
  auto syncsafe = [](Bytes* b, uint32_t v) {
    for (int shift = 21; shift >= 0; shift -= 7) b->push_back((v >> shift) & 0x7F);
  };
  Bytes frames;
  for (const auto& [id, text] : {std::pair<std::string, std::string>{"TPE1", f.artist},
                                 {"TIT2", f.title},
                                 {"TDRC", f.year},
                                 {"TCON", f.genre}}) {
    PutText(&frames, id);
    syncsafe(&frames, static_cast<uint32_t>(text.size() + 1));
    PutBe(&frames, 0, 2);
    frames.push_back(3);  // UTF-8
    PutText(&frames, text);
  }
  Bytes tag;
  PutText(&tag, "ID3");
  tag.push_back(4);
  tag.push_back(0);
  tag.push_back(0);
  syncsafe(&tag, static_cast<uint32_t>(frames.size()));
  tag.insert(tag.end(), frames.begin(), frames.end());
  return tag;
}

// A RIFF LIST chunk of INFO fields.
inline Chunk RiffInfo(const TagFields& f) {
  Chunk list{"LIST", {}};
  PutText(&list.body, "INFO");
  for (const auto& [id, text] : {std::pair<std::string, std::string>{"IART", f.artist},
                                 {"INAM", f.title},
                                 {"ICRD", f.year},
                                 {"IGNR", f.genre}}) {
    Bytes value(text.begin(), text.end());
    value.push_back(0);
    PutChunk(&list.body, {id, value}, false);
  }
  return list;
}

inline bool HaveProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

inline bool RunQuietly(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The whole stream from its start, interleaved.
inline std::vector<float> DecodeAll(engine::Decoder& decoder) {
  std::vector<float> out;
  decoder.Seek(0);
  std::vector<float> block(4096 * static_cast<size_t>(decoder.Format().channels));
  int64_t got = 0;
  while ((got = decoder.Read(block.data(), 4096)) > 0) {
    out.insert(out.end(), block.begin(), block.begin() + got * decoder.Format().channels);
  }
  return out;
}

}  // namespace tw::test

#endif  // TUNEWRIGHT_TESTS_ENGINE_DECODE_FIXTURES_H_
