// Every decodable format against one synthetic source: exact length or a fixed, known
// offset, sample-accurate seeks, opening by content, and calm handling of damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "audio/engine/decoder.h"
#include "engine/decode_fixtures.h"

namespace tw::engine {
namespace {

using test::kRate;

// Odd on purpose: no codec frame size divides it.
constexpr int64_t kSourceFrames = 2 * kRate + 12345;

struct FormatCase {
  const char* name;
  const char* extension;
  const char* program;  // the encoder, or nullptr when the test writes the file itself
  const char* command;  // {in} and {out} are replaced by the paths
  // Where the source's first frame appears in the decoded stream. Zero where the file records
  // its encoder delay; otherwise the encoder's delay plus libmpg123's 529-frame synthesis
  // delay, which nothing in the file lets a decoder remove.
  int64_t start_offset;
  // The decoded length equals the source's; otherwise it is whole MPEG frames of 1152.
  bool exact_length;
  bool lossless;
};

constexpr FormatCase kFormats[] = {
    {"Wav", "wav", nullptr, nullptr, 0, true, true},
    {"Aiff", "aiff", nullptr, nullptr, 0, true, true},
    {"Mp3WithLameTag", "mp3", "lame", "lame --quiet --nohist -b 192 {in} {out}", 0, true, false},
    // LAME's 576-frame encoder delay + 529.
    {"Mp3WithoutTag", "mp3", "lame", "lame --quiet --nohist -t -b 192 {in} {out}", 1105, false,
     false},
    // twolame's filterbank pair: the same 481 frames as the layer II synthesis alone.
    {"Mp2", "mp2", "twolame", "twolame --quiet -b 192 {in} {out}", 481, false, false},
    {"OggVorbis", "ogg", "oggenc", "oggenc -Q -q 5 -o {out} {in}", 0, true, false},
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

// The source and every encoded file, made once for all tests.
class DecodeFormatTest : public ::testing::TestWithParam<FormatCase> {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    source_ = new std::vector<int16_t>(test::MakeChirpAndNoise(kSourceFrames));
    ASSERT_TRUE(test::WriteWav(dir_->File("source.wav"), *source_, 2));
  }
  static void TearDownTestSuite() {
    delete source_;
    delete dir_;
  }

  // The case's file, encoded on first use; empty (and the test skipped) without its encoder.
  std::string Fixture() {
    const FormatCase& c = GetParam();
    const std::string path = dir_->File(std::string("fixture_") + c.name + "." + c.extension);
    if (std::filesystem::exists(path)) return path;
    if (!c.program) {
      const bool ok = std::string(c.extension) == "wav" ? test::WriteWav(path, *source_, 2)
                                                        : test::WriteAiff(path, *source_, 2);
      return ok ? path : std::string();
    }
    if (!test::HaveProgram(c.program)) return {};
    const std::string command =
        Replace(Replace(c.command, "{in}", dir_->File("source.wav")), "{out}", path);
    return test::RunQuietly(command) ? path : std::string();
  }

  std::unique_ptr<Decoder> OpenFixture() {
    const std::string path = Fixture();
    if (path.empty()) return nullptr;
    std::string error;
    auto decoder = OpenDecoder(path, &error);
    EXPECT_NE(decoder, nullptr) << error;
    return decoder;
  }

  bool EncoderMissing() const {
    return GetParam().program && !test::HaveProgram(GetParam().program);
  }

  static float SourceSample(int64_t frame, int channel) {
    return (*source_)[static_cast<size_t>(frame * 2 + channel)] / 32768.0f;
  }

  static test::TempDir* dir_;
  static std::vector<int16_t>* source_;
};

test::TempDir* DecodeFormatTest::dir_ = nullptr;
std::vector<int16_t>* DecodeFormatTest::source_ = nullptr;

#define SKIP_WITHOUT_ENCODER()                                                     \
  if (EncoderMissing()) GTEST_SKIP() << GetParam().program << " is not installed"; \
  static_assert(true)

// The offset at which a stretch of the source's left channel best matches the decoded one,
// with the normalised correlation there.
std::pair<int64_t, double> FindSourceOffset(const std::vector<float>& decoded,
                                            const std::vector<int16_t>& source) {
  constexpr int64_t kProbeStart = kRate / 2;
  constexpr int64_t kProbeFrames = 2048;
  std::pair<int64_t, double> best{0, -1.0};
  for (int64_t offset = -1500; offset <= 3000; ++offset) {
    double dot = 0, decoded_energy = 0, source_energy = 0;
    for (int64_t i = kProbeStart; i < kProbeStart + kProbeFrames; ++i) {
      const size_t d = static_cast<size_t>(2 * (i + offset));
      if (d >= decoded.size()) break;
      const double s = source[static_cast<size_t>(2 * i)];
      dot += decoded[d] * s;
      decoded_energy += decoded[d] * decoded[d];
      source_energy += s * s;
    }
    const double correlation = dot / std::sqrt(decoded_energy * source_energy + 1e-30);
    if (correlation > best.second) best = {offset, correlation};
  }
  return best;
}

TEST_P(DecodeFormatTest, DecodesWholeSourceAtKnownOffset) {
  SKIP_WITHOUT_ENCODER();
  auto decoder = OpenFixture();
  ASSERT_NE(decoder, nullptr);
  EXPECT_EQ(decoder->Format().sample_rate, kRate);
  EXPECT_EQ(decoder->Format().channels, 2);

  const std::vector<float> decoded = test::DecodeAll(*decoder);
  const int64_t length = decoder->LengthFrames();
  EXPECT_EQ(static_cast<int64_t>(decoded.size()), 2 * length) << "reads end at the length";
  const auto [offset, correlation] = FindSourceOffset(decoded, *source_);
  EXPECT_EQ(offset, GetParam().start_offset);
  EXPECT_GT(correlation, 0.95);
  if (GetParam().exact_length) {
    EXPECT_EQ(length, kSourceFrames);
  } else {
    EXPECT_EQ(length % 1152, 0);
    EXPECT_GE(length, kSourceFrames + offset);
    EXPECT_LT(length, kSourceFrames + offset + 3 * 1152) << "at most the encoder's flush";
  }
  if (GetParam().lossless) {
    for (int64_t i = 0; i < kSourceFrames; ++i) {
      ASSERT_EQ(decoded[static_cast<size_t>(2 * i)], SourceSample(i, 0)) << "frame " << i;
      ASSERT_EQ(decoded[static_cast<size_t>(2 * i + 1)], SourceSample(i, 1)) << "frame " << i;
    }
  }
}

TEST_P(DecodeFormatTest, RandomSeeksReadExactlyTheStraightDecode) {
  SKIP_WITHOUT_ENCODER();
  auto decoder = OpenFixture();
  ASSERT_NE(decoder, nullptr);
  const std::vector<float> straight = test::DecodeAll(*decoder);
  const int64_t length = decoder->LengthFrames();
  constexpr int64_t kBlock = 97;
  std::vector<float> block(2 * kBlock);
  std::mt19937 random(20261211);
  std::uniform_int_distribution<int64_t> position(0, length);
  for (int seek = 0; seek < 1000; ++seek) {
    const int64_t frame = position(random);
    ASSERT_TRUE(decoder->Seek(frame)) << "seek to " << frame;
    ASSERT_EQ(decoder->Position(), frame);
    const int64_t got = decoder->Read(block.data(), kBlock);
    ASSERT_EQ(got, std::min(kBlock, length - frame)) << "at " << frame;
    for (int64_t i = 0; i < 2 * got; ++i) {
      ASSERT_EQ(block[static_cast<size_t>(i)], straight[static_cast<size_t>(2 * frame + i)])
          << "seek " << seek << " to frame " << frame << ", sample " << i;
    }
    ASSERT_EQ(decoder->Position(), frame + got);
  }
  // Past the end a seek clamps to the length and reads nothing.
  EXPECT_TRUE(decoder->Seek(length + 1000));
  EXPECT_EQ(decoder->Position(), length);
  EXPECT_EQ(decoder->Read(block.data(), kBlock), 0);
}

TEST_P(DecodeFormatTest, OpensByContentWhateverTheExtension) {
  SKIP_WITHOUT_ENCODER();
  const std::string path = Fixture();
  ASSERT_FALSE(path.empty());
  const std::string misnamed =
      path + (GetParam().extension == std::string("ogg") ? ".mp3" : ".ogg");
  std::filesystem::copy_file(path, misnamed, std::filesystem::copy_options::overwrite_existing);
  std::string error;
  auto decoder = OpenDecoder(misnamed, &error);
  ASSERT_NE(decoder, nullptr) << error;
  auto reference = OpenFixture();
  ASSERT_NE(reference, nullptr);
  EXPECT_EQ(decoder->LengthFrames(), reference->LengthFrames());
}

// Damage: cut at half the file, or a run of garbage bytes in its middle. Opening may fail
// with a message or succeed; either way reading and seeking end without crash or hang.
TEST_P(DecodeFormatTest, DamagedFilesEndCalmly) {
  SKIP_WITHOUT_ENCODER();
  const std::string path = Fixture();
  ASSERT_FALSE(path.empty());
  const test::Bytes bytes = test::ReadBytes(path);
  test::Bytes truncated(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
  test::Bytes garbled = bytes;
  std::mt19937 random(99);
  for (size_t i = bytes.size() * 2 / 5; i < bytes.size() * 3 / 5; ++i) {
    garbled[i] = static_cast<uint8_t>(random());
  }
  for (const auto& [name, damaged] : {std::pair{"truncated", truncated}, {"garbled", garbled}}) {
    SCOPED_TRACE(name);
    const std::string damaged_path = dir_->File(std::string(name) + "_" + GetParam().name);
    ASSERT_TRUE(test::WriteBytes(damaged_path, damaged));
    std::string error;
    auto decoder = OpenDecoder(damaged_path, &error);
    if (!decoder) {
      EXPECT_NE(error.find(damaged_path), std::string::npos) << error;
      continue;
    }
    const int64_t length = decoder->LengthFrames();
    const std::vector<float> decoded = test::DecodeAll(*decoder);
    EXPECT_LE(static_cast<int64_t>(decoded.size()), 2 * length);
    std::vector<float> block(2 * 500);
    EXPECT_TRUE(decoder->Seek(length / 2));
    EXPECT_LE(decoder->Read(block.data(), 500), 500);
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, DecodeFormatTest, ::testing::ValuesIn(kFormats),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tw::engine
