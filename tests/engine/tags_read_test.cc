// Tags of every format read back, the reader chosen by content.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "audio/engine/tags.h"
#include "engine/decode_fixtures.h"

namespace tw::engine {
namespace {

struct TagCase {
  const char* name;
  const char* file_name;
  const char* program;      // an encoder writes the file, or nullptr: the test writes it
  const char* command;      // {in}, {out}
  test::TagFields written;  // for files the test writes
  TrackTags expected;
};

void PrintTo(const TagCase& c, std::ostream* os) { *os << c.name; }

const TagCase kTagCases[] = {
    {"Mp3Id3v2",
     "id3v2.mp3",
     "lame",
     "lame --quiet --id3v2-only --ta 'Leftfield' --tt 'Release the Pressure' --ty 1995 "
     "--tg 'House' {in} {out}",
     {},
     {"Leftfield", "Release the Pressure", "1995", "House"}},
    {"Mp3Id3v1",
     "id3v1.mp3",
     "lame",
     "lame --quiet --id3v1-only --ta 'Orbital' --tt 'Chime' --ty 1990 --tg 'Techno' {in} {out}",
     {},
     {"Orbital", "Chime", "1990", "Techno"}},
    // Named .wav, still MPEG inside: the reader follows the content.
    {"Mp3NamedWav",
     "misnamed.wav",
     "lame",
     "lame --quiet --ta 'Underworld' --tt 'Born Slippy' --ty 1996 --tg 'Trance' {in} {out}",
     {},
     {"Underworld", "Born Slippy", "1996", "Trance"}},
    {"OggVorbis",
     "tags.ogg",
     "oggenc",
     "oggenc -Q -a 'Moby' -t 'Porcelain' -d 1999-05-17 -G 'Downtempo' -o {out} {in}",
     {},
     {"Moby", "Porcelain", "1999", "Downtempo"}},
    {"WavRiffInfo",
     "info.wav",
     nullptr,
     "info",
     {"Daft Punk", "Da Funk", "1995", "House"},
     {"Daft Punk", "Da Funk", "1995", "House"}},
    {"WavId3Chunk",
     "id3.wav",
     nullptr,
     "id3",
     {"Björk", "Jóga", "1997-09-22", "Électronique"},
     {"Björk", "Jóga", "1997", "Électronique"}},
    {"AiffId3Chunk",
     "id3.aiff",
     nullptr,
     "id3",
     {"Sigur Rós", "Hoppípolla", "2005", "Post-rock"},
     {"Sigur Rós", "Hoppípolla", "2005", "Post-rock"}},
    {"AiffWithoutTags", "plain.aiff", nullptr, "none", {}, {}},
};

class TagsReadTest : public ::testing::TestWithParam<TagCase> {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    ASSERT_TRUE(test::WriteWav(dir_->File("source.wav"), test::MakeChirpAndNoise(20000), 2));
  }
  static void TearDownTestSuite() { delete dir_; }
  static test::TempDir* dir_;
};

test::TempDir* TagsReadTest::dir_ = nullptr;

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

TEST_P(TagsReadTest, ReadsArtistTitleYearGenre) {
  const TagCase& c = GetParam();
  const std::string path = dir_->File(c.file_name);
  if (c.program) {
    if (!test::HaveProgram(c.program)) GTEST_SKIP() << c.program << " is not installed";
    ASSERT_TRUE(test::RunQuietly(
        Replace(Replace(c.command, "{in}", dir_->File("source.wav")), "{out}", path)));
  } else {
    const std::string kind = c.command;
    const std::vector<int16_t> audio = test::MakeChirpAndNoise(1000);
    std::vector<test::Chunk> chunks;
    const bool aiff = std::string(c.file_name).ends_with(".aiff");
    if (kind == "info") chunks.push_back(test::RiffInfo(c.written));
    if (kind == "id3") chunks.push_back({aiff ? "ID3 " : "id3 ", test::Id3v2Tag(c.written)});
    ASSERT_TRUE(aiff ? test::WriteAiff(path, audio, 2, chunks)
                     : test::WriteWav(path, audio, 2, chunks));
  }
  TrackTags tags;
  std::string error;
  ASSERT_TRUE(ReadTags(path, &tags, &error)) << error;
  EXPECT_EQ(tags.artist, c.expected.artist);
  EXPECT_EQ(tags.title, c.expected.title);
  EXPECT_EQ(tags.year, c.expected.year);
  EXPECT_EQ(tags.genre, c.expected.genre);
}

INSTANTIATE_TEST_SUITE_P(Formats, TagsReadTest, ::testing::ValuesIn(kTagCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TagsReadErrorsTest, NonAudioAndMissingFilesGiveAMessageAndEmptyFields) {
  test::TempDir dir;
  ASSERT_TRUE(test::WriteBytes(dir.File("notes.mp3"), test::Bytes(3000, 'x')));
  for (const std::string& path : {dir.File("notes.mp3"), dir.File("missing.ogg")}) {
    TrackTags tags{"stale", "stale", "stale", "stale"};
    std::string error;
    EXPECT_FALSE(ReadTags(path, &tags, &error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(tags.artist, "");
    EXPECT_EQ(tags.title, "");
  }
}

}  // namespace
}  // namespace tw::engine
