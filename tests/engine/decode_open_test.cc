// Opening by content: what is refused, and the whole-range helper for the waveform view.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "audio/engine/decoder.h"
#include "audio/engine/read_frames.h"
#include "engine/decode_fixtures.h"

namespace tw::engine {
namespace {

TEST(DecodeOpenTest, NonAudioInputIsRefusedWithAMessage) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.File("folder.mp3"));
  test::Bytes text(4000, 'a');
  test::Bytes noise(20000);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
  // Headers that promise audio and then hold nothing decodable.
  test::Bytes opus = {'O', 'g', 'g', 'S', 0, 2};
  opus.resize(28, 0);
  for (char c : std::string("OpusHead")) opus.push_back(static_cast<uint8_t>(c));
  test::Bytes empty_wav = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
  test::Bytes id3_then_text = test::Id3v2Tag({"a", "b", "1999", "c"});
  id3_then_text.insert(id3_then_text.end(), text.begin(), text.end());
  const std::vector<std::pair<std::string, test::Bytes>> files = {
      {"empty.wav", {}},
      {"text.mp3", text},
      {"noise.ogg", noise},
      {"opus.ogg", opus},
      {"header_only.wav", empty_wav},
      {"id3_then_text.mp3", id3_then_text}};
  for (const auto& [name, bytes] : files) ASSERT_TRUE(test::WriteBytes(dir.File(name), bytes));

  std::vector<std::string> paths = {dir.File("missing.mp3"), dir.File("folder.mp3")};
  for (const auto& file : files) paths.push_back(dir.File(file.first));
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    std::string error;
    EXPECT_EQ(OpenDecoder(path, &error), nullptr);
    EXPECT_NE(error.find(path), std::string::npos) << "names the file: " << error;
    EXPECT_EQ(OpenDecoder(path), nullptr) << "no message wanted";
  }
}

// No packaged encoder writes layer I, so the frames are built by hand: 128 kbit/s stereo at
// 44.1 kHz, 136 bytes each, every subband unallocated, which decodes to silence.
TEST(DecodeOpenTest, OpensMpegLayerOne) {
  constexpr int kFrames = 20;
  test::Bytes stream;
  for (int i = 0; i < kFrames; ++i) {
    const test::Bytes frame_header = {0xFF, 0xFF, 0x40, 0x00};
    stream.insert(stream.end(), frame_header.begin(), frame_header.end());
    stream.resize(stream.size() + 136 - 4, 0);
  }
  test::TempDir dir;
  ASSERT_TRUE(test::WriteBytes(dir.File("layer1.mp1"), stream));
  std::string error;
  auto decoder = OpenDecoder(dir.File("layer1.mp1"), &error);
  ASSERT_NE(decoder, nullptr) << error;
  EXPECT_EQ(decoder->Format().sample_rate, 44100);
  EXPECT_EQ(decoder->Format().channels, 2);
  EXPECT_EQ(decoder->LengthFrames(), kFrames * 384);
  const std::vector<float> decoded = test::DecodeAll(*decoder);
  EXPECT_EQ(decoded, std::vector<float>(2 * kFrames * 384, 0.0f));
}

TEST(DecodeOpenTest, KeepsTheFilesChannelCount) {
  test::TempDir dir;
  std::vector<int16_t> mono(5000);
  for (size_t i = 0; i < mono.size(); ++i) mono[i] = static_cast<int16_t>(i * 7);
  ASSERT_TRUE(test::WriteWav(dir.File("mono.wav"), mono, 1));
  auto decoder = OpenDecoder(dir.File("mono.wav"));
  ASSERT_NE(decoder, nullptr);
  EXPECT_EQ(decoder->Format().channels, 1);
  EXPECT_EQ(decoder->LengthFrames(), 5000);
}

TEST(DecodeOpenTest, ReadFramesInt16GivesSixteenBitSourcesBackExactly) {
  test::TempDir dir;
  const std::vector<int16_t> source = test::MakeChirpAndNoise(30000);
  std::vector<int16_t> extremes = source;
  extremes[0] = -32768;
  extremes[1] = 32767;
  ASSERT_TRUE(test::WriteAiff(dir.File("source.aiff"), extremes, 2));
  auto decoder = OpenDecoder(dir.File("source.aiff"));
  ASSERT_NE(decoder, nullptr);

  std::vector<int16_t> range;
  EXPECT_EQ(ReadFramesInt16(*decoder, 12345, 1000, &range), 1000);
  ASSERT_EQ(range.size(), 2000u);
  EXPECT_TRUE(std::equal(range.begin(), range.end(), extremes.begin() + 2 * 12345));

  EXPECT_EQ(ReadFramesInt16(*decoder, 0, 2, &range), 2);
  EXPECT_EQ(range, std::vector<int16_t>(extremes.begin(), extremes.begin() + 4));

  // A range past the end is cut to the length.
  EXPECT_EQ(ReadFramesInt16(*decoder, 29990, 1000, &range), 10);
  EXPECT_EQ(range.size(), 20u);
  EXPECT_EQ(ReadFramesInt16(*decoder, 40000, 10, &range), 0);
  EXPECT_TRUE(range.empty());
}

}  // namespace
}  // namespace tw::engine
