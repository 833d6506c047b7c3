#include "library/core/demo_library.h"

#include <cmath>

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "audio/engine/decoder.h"
#include "data/databases.h"
#include "data/ini_file.h"
#include "data/marker_text.h"
#include "library/core/demo_song.h"
#include "support/scripted_dialogs.h"
#include "support/temp_root.h"

namespace tw {
namespace {

float Section(float start, float end, float loop_start, float loop_end, int64_t repeat) {
  float length = end - start;
  if (loop_start > 0 && loop_end > 0) length += repeat * (loop_end - loop_start);
  return length;
}

TEST(DemoSongs, EverySongIsMarkedOnTheBeat) {
  const std::vector<demo::DemoSong> songs = demo::DemoSongs();
  ASSERT_GE(songs.size(), 12u);
  int formats[3] = {0, 0, 0};
  int loops = 0, skips = 0, prestarts = 0, mutes = 0, fades = 0;
  for (const demo::DemoSong& song : songs) {
    SCOPED_TRACE(song.title.toStdString());
    ++formats[static_cast<int>(song.format)];
    const SongRecord r = demo::DemoRecord(song, "x", "y");
    const float beat = static_cast<float>(60.0 / song.bpm);
    EXPECT_GE(song.bpm, 118);
    EXPECT_LE(song.bpm, 130);
    const double minutes = demo::LayoutOf(song).total_seconds / 60;
    EXPECT_GE(minutes, 3.0);
    EXPECT_LE(minutes, 5.0);
    // Both sections span 32 beats, loops included.
    EXPECT_NEAR(
        Section(r.introstart, r.introend, r.introloopstart, r.introloopend, r.introlooprepeat) /
            beat,
        32.0, 1e-3);
    EXPECT_NEAR(
        Section(r.breakstart, r.breakend, r.breakloopstart, r.breakloopend, r.breaklooprepeat) /
            beat,
        32.0, 1e-3);
    EXPECT_GT(r.introstart, 0);
    EXPECT_GE(r.introstart - r.introprefix, 0);
    EXPECT_LT(r.introend, r.breakstart);
    if (r.introloopstart > 0) {
      EXPECT_GT(r.introloopstart, r.introstart);
      EXPECT_LT(r.introloopend, r.introend);
      ++loops;
    }
    if (r.breakloopstart > 0) {
      EXPECT_GT(r.breakloopstart, r.breakstart);
      EXPECT_LT(r.breakloopend, r.breakend);
      ++loops;
    }
    if (r.skipstart > 0) {
      EXPECT_GT(r.skipstart, r.introend);
      EXPECT_LT(r.skipend, r.breakstart);
      ++skips;
    }
    prestarts += r.introprefix > 0;
    mutes += r.breakmute > 0;
    fades += r.introfade + r.breakfade;
    EXPECT_LE(r.breakend + r.breakcontinue, demo::LayoutOf(song).total_seconds);
    for (float b : ParseBeatList(r.introbeatlist)) {
      EXPECT_GT(b, r.introstart);
      EXPECT_LT(b, r.introend);
    }
    for (float b : ParseBeatList(r.breakbeatlist)) {
      EXPECT_GT(b, r.breakstart);
      EXPECT_LT(b, r.breakend);
    }
  }
  EXPECT_TRUE(formats[0] && formats[1] && formats[2]);
  EXPECT_GT(loops, 0);
  EXPECT_GT(skips, 0);
  EXPECT_GT(prestarts, 0);
  EXPECT_GT(mutes, 0);
  EXPECT_GT(fades, 0);
}

TEST(DemoSongs, KicksLandOnTheMarkedBeats) {
  demo::DemoSong song = demo::DemoSongs()[6];
  song.body_phrases = 1;
  const std::vector<float> audio = demo::RenderDemoSong(song);
  const SongRecord r = demo::DemoRecord(song, "x", "y");
  const double beat = 60.0 / song.bpm;
  // Energy in the 10 ms after each marked beat is far above the 10 ms before it.
  auto energy = [&](double from, double seconds) {
    double sum = 0;
    const int64_t a = std::llround(from * 44100), n = std::llround(seconds * 44100);
    for (int64_t f = a; f < a + n; ++f) sum += audio[f * 2] * audio[f * 2];
    return sum;
  };
  for (double t : {double(r.introstart), r.introstart + 5 * beat, double(r.breakstart),
                   r.breakstart + 17 * beat}) {
    EXPECT_GT(energy(t, 0.01), 4 * energy(t - 0.01, 0.01)) << t;
  }
}

TEST(DemoLibrary, MakesFilesRecordsAndPreferences) {
  testing::TempRoot root;
  testing::ScriptedDialogs dialogs;
  Databases dbs;
  ASSERT_TRUE(OpenDatabases(root.Paths(), dialogs, dbs));
  std::vector<demo::DemoSong> songs = {demo::DemoSongs()[0], demo::DemoSongs()[1]};
  for (auto& s : songs) s.body_phrases = 0;
  songs[1].skip_phrases = 0;
  QString error;
  ASSERT_EQ(CreateDemoLibrary(root.Paths(), dbs, songs, &error), 2) << error.toStdString();
  EXPECT_EQ(dbs.song_database.LookupInteger("SELECT COUNT(id) FROM music"), 2);
  EXPECT_EQ(dbs.file_catalogue.LookupInteger("SELECT COUNT(id) FROM files WHERE added='Yes'"), 2);
  for (const QString& file : {QString("Harbour Lights - Low Tide.mp3"),
                              QString("Kestrel & Vane - Paper Satellites.ogg")}) {
    const QString path = root.File("music/" + file);
    std::string message;
    auto decoder = engine::OpenDecoder(path.toStdString(), &message);
    ASSERT_TRUE(decoder) << message;
    EXPECT_EQ(decoder->Format().sample_rate, 44100);
    EXPECT_EQ(decoder->Format().channels, 2);
    const int index = file.endsWith(".mp3") ? 0 : 1;
    EXPECT_NEAR(decoder->LengthFrames() / 44100.0, demo::LayoutOf(songs[index]).total_seconds,
                0.05);
  }
  EXPECT_TRUE(QFileInfo(root.File("sleeves/Harbour Lights - Low Tide.png")).size() > 1000);
  IniFile ini;
  ASSERT_TRUE(ini.Load(root.Paths().PreferencesFile()));
  EXPECT_EQ(ini.Value("Directories Windows", "Path_audiofiles", ""),
            QDir::toNativeSeparators(root.File("music/")));
  // A second run adds nothing twice.
  EXPECT_EQ(CreateDemoLibrary(root.Paths(), dbs, songs, &error), 0);
  EXPECT_EQ(dbs.song_database.LookupInteger("SELECT COUNT(id) FROM music"), 2);
}

}  // namespace
}  // namespace tw
