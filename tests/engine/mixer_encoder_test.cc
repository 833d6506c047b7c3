#include <gtest/gtest.h>
#include <mpg123.h>
#include <sndfile.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/engine/engine.h"
#include "engine/mixer_test_sources.h"

namespace tw::engine {
namespace {

std::filesystem::path TempPath(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("tw_mixer_encoder_" + std::to_string(::getpid()) + "_" + name);
}

// Renders `frames` from a decoding mixer with a sine source, in odd-sized blocks, through an
// encoder writing `path`.
void RenderThroughEncoder(EncoderFormat format, const std::string& path, int64_t frames) {
  Engine engine;
  const Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
  engine.AddSource(mixer,
                   engine.CreateStream(testing::MakeSine(frames, 440, 0.5f), StreamKind::kDecode));
  std::string error;
  ASSERT_TRUE(engine.StartEncoder(mixer, format, path, &error)) << error;
  std::vector<float> block(1000 * 2);
  for (int64_t done = 0; done < frames;) {
    const int64_t n = std::min<int64_t>(777, frames - done);
    ASSERT_EQ(engine.RenderDecoding(mixer, block.data(), n), n);
    done += n;
  }
  ASSERT_TRUE(engine.StopEncoder(mixer, &error)) << error;
}

// Decoded length in frames, with the encoder delay and padding that the LAME Info tag records
// removed by mpg123's gapless decoding.
int64_t Mp3Frames(const std::string& path) {
  mpg123_init();
  int err = 0;
  mpg123_handle* mh = mpg123_new(nullptr, &err);
  if (!mh) return -1;
  mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS, 0.0);
  int64_t frames = -1;
  if (mpg123_open(mh, path.c_str()) == MPG123_OK) {
    std::vector<unsigned char> buffer(1 << 16);
    size_t bytes = 0;
    int64_t total = 0;
    int rc = MPG123_OK;
    while ((rc = mpg123_read(mh, buffer.data(), buffer.size(), &bytes)) == MPG123_OK ||
           rc == MPG123_NEW_FORMAT) {
      total += static_cast<int64_t>(bytes);
    }
    total += static_cast<int64_t>(bytes);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    mpg123_getformat(mh, &rate, &channels, &encoding);
    if (rc == MPG123_DONE && rate == 44100 && channels == 2) {
      frames = total / (2 * mpg123_encsize(encoding));
    }
    mpg123_close(mh);
  }
  mpg123_delete(mh);
  return frames;
}

TEST(Encoder, Mp3DecodesToExactlyTheFramesPulled) {
  const std::string path = TempPath("mix.mp3").string();
  constexpr int64_t kFrames = 44100 * 3 + 123;
  RenderThroughEncoder(EncoderFormat::kMp3_320, path, kFrames);
  EXPECT_EQ(Mp3Frames(path), kFrames);
  // 320 kbit/s for about 3 s.
  const auto size = std::filesystem::file_size(path);
  EXPECT_GT(size, 115000u);
  EXPECT_LT(size, 130000u);
  std::filesystem::remove(path);
}

TEST(Encoder, WavHoldsExactlyTheFramesPulled) {
  const std::string path = TempPath("mix.wav").string();
  constexpr int64_t kFrames = 44100 + 77;
  RenderThroughEncoder(EncoderFormat::kWav16, path, kFrames);
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(info.frames, kFrames);
  EXPECT_EQ(info.samplerate, 44100);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_16);
  std::vector<short> pcm(200);
  sf_readf_short(file, pcm.data(), 100);
  EXPECT_NEAR(pcm[2 * 10], 0.5 * 32767 * std::sin(2 * std::numbers::pi * 440 * 10 / 44100.0), 2);
  sf_close(file);
  std::filesystem::remove(path);
}

TEST(Encoder, FailuresAreReported) {
  Engine engine;
  const Channel decoding = engine.CreateMixer(MixerKind::kDecoding);
  const Channel playing = engine.CreateMixer(MixerKind::kPlaying);
  for (const EncoderFormat format : {EncoderFormat::kMp3_320, EncoderFormat::kWav16}) {
    std::string error;
    EXPECT_FALSE(engine.StartEncoder(decoding, format, "/nonexistent-dir/mix.out", &error));
    EXPECT_NE(error.find("/nonexistent-dir/mix.out"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(engine.StartEncoder(playing, format, TempPath("x").string(), &error));
    EXPECT_FALSE(error.empty());
  }
  std::string error;
  EXPECT_FALSE(engine.StopEncoder(decoding, &error));
  EXPECT_FALSE(error.empty());
}

TEST(Encoder, WriteFailureIsReportedAtStop) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  Engine engine;
  const Channel mixer = engine.CreateMixer(MixerKind::kDecoding);
  std::string error;
  ASSERT_TRUE(engine.StartEncoder(mixer, EncoderFormat::kMp3_320, "/dev/full", &error)) << error;
  std::vector<float> block(4096 * 2);
  for (int i = 0; i < 20; ++i) engine.RenderDecoding(mixer, block.data(), 4096);
  EXPECT_FALSE(engine.StopEncoder(mixer, &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace tw::engine
