// The export through AudioSystem's MainMixer, and cueing while the mix plays.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <thread>

#include "audio/audio_system.h"
#include "audio/mix_export.h"
#include "audio/mix_fixture.h"

namespace tw::testing {
namespace {

// Twelve short click songs of rising tempo, each at the frequency that plays it at the first
// song's tempo, as a playlist would set them.
// The size of a 16-bit stereo WAV file's data chunk.
int64_t WavDataBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray head = file.read(512);
  const qsizetype at = head.indexOf("data");
  if (at < 0 || at + 8 > head.size()) return -1;
  const auto* p = reinterpret_cast<const uint8_t*>(head.constData() + at + 4);
  return p[0] | (p[1] << 8) | (p[2] << 16) | (int64_t{p[3]} << 24);
}

struct TwelveSongs {
  QTemporaryDir dir;
  Playlist playlist;
  double expected_seconds = 0;

  TwelveSongs() {
    const double anchor = 118;
    for (int i = 0; i < 12; ++i) {
      ClickSong s;
      s.bpm = anchor + i;
      s.channel = i % 2;
      s.beats = 72;
      const QString name = QString("song %1's.wav").arg(i + 1);
      WriteClickSong(dir.filePath(name), s);
      PlaylistEntry e = MarkedEntry(s, name, i + 1, 36, std::lround(kRate * anchor / s.bpm));
      Grids(&e);
      playlist.entries.push_back(e);
      // Alone from the intro's end (the first from 0) to the break, then the break, which the
      // next song's intro overlaps; the last one plays to its end.
      const double own = static_cast<double>(kRate) / e.frequency;
      const double from = i == 0 ? 0.0 : e.introend;
      const double to = i == 11 ? s.Beat(s.beats + 1) : e.breakend;
      expected_seconds += (to - from) * own;
    }
    playlist.current = 0;
  }
};

TEST(MixExport, RendersTheWholePlaylistWithItsSongList) {
  TwelveSongs songs;
  AudioSystem audio;
  ASSERT_TRUE(audio.Start(engine::OutputChoice::kNone).isEmpty());
  PlainMixHost host;
  MixScheduler scheduler(audio.engine(), songs.playlist, host);
  scheduler.SetMixer(audio.main_mixer());
  scheduler.SetAudioFolder(songs.dir.path() + "/");
  ScriptedDialogs dialogs;
  // An older, longer song list must not leave lines behind.
  const QString out = songs.dir.filePath("mix.wav");
  {
    QFile old(songs.dir.filePath("mix.txt"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'x'));
  }

  MixExport mix(audio, scheduler, songs.playlist);
  QString error;
  ASSERT_TRUE(mix.Prepare(out, engine::EncoderFormat::kWav16, dialogs, &error))
      << error.toStdString();
  mix.Start();
  while (mix.Running()) std::this_thread::yield();
  EXPECT_FLOAT_EQ(mix.Progress(), 100.0f);
  ASSERT_TRUE(mix.Finish(0.6f, true, &error)) << error.toStdString();

  const double seconds = static_cast<double>(WavDataBytes(out)) / 4 / kRate;
  EXPECT_NEAR(seconds, songs.expected_seconds, 0.05);
  EXPECT_TRUE(host.stopped());

  QFile list(songs.dir.filePath("mix.txt"));
  ASSERT_TRUE(list.open(QIODevice::ReadOnly));
  const QByteArray text = list.readAll();
  EXPECT_FALSE(text.startsWith("\xEF\xBB\xBF"));
  EXPECT_EQ(text.count("\r\n"), 12);
  EXPECT_TRUE(text.startsWith("001. ARTIST 1 - TITLE 1\r\n"));
  EXPECT_TRUE(text.endsWith("012. ARTIST 12 - TITLE 12\r\n"));

  // A playing mixer is back, with the player's volume and dynamics.
  EXPECT_TRUE(audio.dynamic_amplification());
  EXPECT_EQ(audio.engine().State(audio.main_mixer()), engine::PlayState::kStopped);
  EXPECT_EQ(scheduler.mixer(), audio.main_mixer());
}

TEST(MixExport, CancelLeavesAShorterFileAndAFailureIsReported) {
  TwelveSongs songs;
  AudioSystem audio;
  ASSERT_TRUE(audio.Start(engine::OutputChoice::kNone).isEmpty());
  PlainMixHost host;
  MixScheduler scheduler(audio.engine(), songs.playlist, host);
  scheduler.SetMixer(audio.main_mixer());
  scheduler.SetAudioFolder(songs.dir.path() + "/");
  ScriptedDialogs dialogs;
  {
    MixExport mix(audio, scheduler, songs.playlist);
    QString error;
    const QString out = songs.dir.filePath("short.mp3");
    ASSERT_TRUE(mix.Prepare(out, engine::EncoderFormat::kMp3_320, dialogs, &error));
    mix.Start();
    while (mix.Running() && mix.rendered_frames() < 10 * kRate) std::this_thread::yield();
    mix.Cancel();
    ASSERT_TRUE(mix.Finish(0.75f, false, &error));
    EXPECT_GT(QFileInfo(out).size(), 0);
    EXPECT_LT(mix.rendered_frames(), static_cast<int64_t>(songs.expected_seconds * kRate / 2));
  }
  {
    MixExport mix(audio, scheduler, songs.playlist);
    QString error;
    EXPECT_FALSE(mix.Prepare(songs.dir.filePath("missing/folder/mix.mp3"),
                             engine::EncoderFormat::kMp3_320, dialogs, &error));
    EXPECT_FALSE(error.isEmpty());
    mix.Finish(0.75f, false, nullptr);
    EXPECT_EQ(scheduler.mixer(), audio.main_mixer());
  }
}

TEST(MixCue, CuesTheRowAtItsIntroEndAndStopsOnAMissingFile) {
  TwelveSongs songs;
  engine::Engine engine;
  engine.Start(engine::OutputChoice::kNone);
  const engine::Channel mixer = engine.CreateMixer(engine::MixerKind::kPlaying);
  PlainMixHost host;
  MixScheduler scheduler(engine, songs.playlist, host);
  scheduler.SetMixer(mixer);
  scheduler.SetAudioFolder(songs.dir.path() + "/");
  ScriptedDialogs dialogs;

  ASSERT_TRUE(scheduler.CueSong(0, false, dialogs));
  EXPECT_EQ(engine.Position(scheduler.View().current.stream).value, 0);
  engine.Play(mixer, true);
  ASSERT_TRUE(scheduler.CueSong(4, false, dialogs));
  const MixView view = scheduler.View();
  EXPECT_EQ(view.current.entry.track, 5);
  EXPECT_EQ(engine.Position(view.current.stream).value, Frame(songs.playlist.entries[4].introend));
  EXPECT_EQ(engine.State(mixer), engine::PlayState::kPlaying);
  EXPECT_EQ(songs.playlist.current, 5);  // the playlist stands on the next song

  // While playing, a missing next song stops the mix with the message.
  QFile::remove(songs.dir.filePath(songs.playlist.entries[7].filename));
  EXPECT_FALSE(scheduler.CueSong(6, false, dialogs));
  EXPECT_EQ(engine.State(mixer), engine::PlayState::kStopped);
  ASSERT_EQ(dialogs.Messages().size(), 1u);
  EXPECT_EQ(dialogs.Messages()[0], "Playing error|File does not exist: " + songs.dir.path() + "/" +
                                       songs.playlist.entries[7].filename);
  // Not playing, the same cue goes through: Play will check the file.
  EXPECT_TRUE(scheduler.CueSong(6, false, dialogs));
}

}  // namespace
}  // namespace tw::testing
