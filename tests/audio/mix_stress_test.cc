// The scheduler's threads at once: the null device's mixing thread running syncs, the worker
// preparing songs, and the main thread cueing, pausing, playing, reading and replacing the
// playlist in quick succession. Run under ThreadSanitizer by ./tw test-tsan (and in CI).
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "audio/mix_fixture.h"

namespace tw::testing {
namespace {

// Waits, without sleeping through it, until the mix has handed over to a song after `track`.
bool HandsOverPast(const MixScheduler& scheduler, int64_t track) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (scheduler.CurrentTrack() <= track) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::yield();
  }
  return true;
}

TEST(MixStress, CueingPlayingAndLoadingWhileTheDevicePlays) {
  QTemporaryDir dir;
  Playlist playlist;
  // Very fast songs, so that transitions come within a fraction of a second in real time.
  for (int i = 0; i < 12; ++i) {
    ClickSong s;
    s.bpm = 900 + 10 * i;
    s.first_beat = 0.05;
    s.beats = 72;
    s.channel = i % 2;
    const QString name = QString("fast %1.wav").arg(i + 1);
    WriteClickSong(dir.filePath(name), s);
    PlaylistEntry e = MarkedEntry(s, name, i + 1, 36, std::lround(kRate * 900 / s.bpm));
    if (i % 3 == 1) {
      e.breakloopstart = static_cast<float>(s.Beat(60));
      e.breakloopend = static_cast<float>(s.Beat(64));
      e.breaklooprepeat = 1;
    }
    if (i % 4 == 2) e.introprefix = 0.04f;
    Grids(&e);
    playlist.entries.push_back(e);
  }
  const std::vector<PlaylistEntry> all = playlist.entries;

  engine::Engine engine;
  ASSERT_TRUE(engine.Start(engine::OutputChoice::kNull).ok());
  const engine::Channel mixer = engine.CreateMixer(engine::MixerKind::kPlaying);
  PlainMixHost host;
  MixScheduler scheduler(engine, playlist, host);
  scheduler.SetMixer(mixer);
  scheduler.SetAudioFolder(dir.path() + "/");
  scheduler.SetBeatFilter(BeatFilter::kBoth);
  ScriptedDialogs dialogs;

  scheduler.CueSong(0, false, dialogs);
  engine.Play(mixer, true);
  ASSERT_TRUE(HandsOverPast(scheduler, 1));

  std::mt19937 random(7);
  for (int step = 0; step < 300; ++step) {
    switch (random() % 6) {
      case 0:
        scheduler.CueSong(static_cast<int>(random() % 12), step % 2 == 0, dialogs);
        break;
      case 1:
        engine.Pause(mixer);
        break;
      case 2:
        engine.Play(mixer, false);
        break;
      case 3: {
        // A new playlist, as loading one does it.
        scheduler.ReleaseSlots();
        const int first = static_cast<int>(random() % 6);
        playlist.entries.assign(all.begin() + first, all.end());
        for (size_t i = 0; i < playlist.entries.size(); ++i) {
          playlist.entries[i].track = static_cast<int64_t>(i + 1);
        }
        playlist.current = 0;
        scheduler.CueSong(0, false, dialogs);
        break;
      }
      case 4:
        EXPECT_GE(scheduler.View().current.entry.track, 0);
        break;
      default:
        std::this_thread::yield();
        break;
    }
  }
  // The mix still hands over after all that.
  engine.Play(mixer, false);
  scheduler.CueSong(1, false, dialogs);
  engine.Play(mixer, true);
  EXPECT_TRUE(HandsOverPast(scheduler, 2));
  EXPECT_TRUE(dialogs.Messages().empty());
  scheduler.ReleaseSlots();
  engine.StopOutput();
}

}  // namespace
}  // namespace tw::testing
