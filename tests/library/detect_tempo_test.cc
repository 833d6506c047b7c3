// The library's tempo rule: analysis window, single fold, six-character text, and the whole
// chain on files.
#include <gtest/gtest.h>

#include <QString>

#include "engine/decode_fixtures.h"
#include "library/core/detect_tempo.h"

namespace tw::library {
namespace {

TEST(DetectTempoTest, AnalysisWindowFollowsTheSongsLength) {
  struct Case {
    float length;
    int start, end;
  };
  const Case cases[] = {{200.0f, 60, 90}, {90.01f, 60, 90}, {90.0f, 30, 60}, {60.5f, 30, 60},
                        {60.0f, 0, 30},   {30.5f, 0, 30},   {30.0f, 0, 30},  {20.6f, 0, 21},
                        {20.4f, 0, 20},   {0.2f, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    const TempoWindow window = TempoAnalysisWindow(c.length);
    EXPECT_EQ(window.start_seconds, c.start);
    EXPECT_EQ(window.end_seconds, c.end);
  }
}

TEST(DetectTempoTest, FoldsOnceAndFormatsSixCharacters) {
  struct Case {
    float detected;
    const char* text;
  };
  const Case cases[] = {{174.0f, "087.00"}, {65.0f, "130.00"},  {128.456f, "128.46"},
                        {30.0f, "060.00"},  {400.0f, "200.00"}, {95.3f, "095.30"},
                        {160.0f, "160.00"}, {70.0f, "070.00"},  {160.02f, "080.01"},
                        {69.99f, "139.98"}, {0.0f, "000.00"},   {5000.0f, "2500.0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.detected);
    EXPECT_EQ(FormatTempo(FoldTempo(c.detected)).toStdString(), c.text);
  }
}

TEST(DetectTempoTest, DetectsAFilesTempoAndNamesWhatItCannotRead) {
  test::TempDir dir;
  // 100 s: analysed from 60 to 90 s, where this file changes from 100 to 124 BPM at 55 s.
  std::vector<int16_t> audio = test::MakeDrumTrack(100.0, 55.0, 1);
  const std::vector<int16_t> later = test::MakeDrumTrack(124.0, 45.0, 2);
  audio.insert(audio.end(), later.begin(), later.end());
  const QString song = QString::fromStdString(dir.File("song.wav"));
  ASSERT_TRUE(test::WriteWav(song.toStdString(), audio, 2));
  QString error;
  const QString tempo = DetectTempo(song, &error);
  EXPECT_TRUE(error.isEmpty()) << error.toStdString();
  EXPECT_EQ(tempo.size(), 6);
  EXPECT_NEAR(tempo.toDouble(), 124.0, 0.5) << tempo.toStdString();

  const QString silent = QString::fromStdString(dir.File("silent.wav"));
  ASSERT_TRUE(test::WriteWav(silent.toStdString(), std::vector<int16_t>(2 * 44100 * 5), 2));
  EXPECT_EQ(DetectTempo(silent, &error), QString::fromLatin1(kUnknownTempoText));
  EXPECT_TRUE(error.isEmpty()) << "no beat is no read error";

  const QString text = QString::fromStdString(dir.File("notes.mp3"));
  ASSERT_TRUE(test::WriteBytes(text.toStdString(), test::Bytes(2000, 'n')));
  EXPECT_EQ(DetectTempo(text, &error), QString::fromLatin1(kUnknownTempoText));
  EXPECT_TRUE(error.contains(text)) << error.toStdString();
}

}  // namespace
}  // namespace tw::library
