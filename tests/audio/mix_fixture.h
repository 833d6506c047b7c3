#ifndef TUNEWRIGHT_TESTS_AUDIO_MIX_FIXTURE_H_
#define TUNEWRIGHT_TESTS_AUDIO_MIX_FIXTURE_H_

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include "audio/engine/engine.h"
#include "audio/mix_host.h"
#include "audio/mix_scheduler.h"
#include "playlist/beat_grid.h"
#include "playlist/playlist_entry.h"
#include "support/scripted_dialogs.h"

namespace tw::testing {

inline constexpr int kRate = 44100;

// A test song: a click on every beat in one channel (the current and the next song of a
// transition sound apart that way), optionally over a steady tone.
struct ClickSong {
  double bpm = 120;
  double first_beat = 0.5;  // seconds
  int beats = 80;           // clicks; the file runs one beat past the last
  int channel = 0;          // 0 left, 1 right
  double tone_hz = 0;       // 0: clicks only
  bool clicks = true;
  // Beat times that replace the regular ones, in seconds.
  std::vector<double> beat_times;

  double Beat(double k) const { return first_beat + k * 60.0 / bpm; }
};

inline bool WriteClickSong(const QString& path, const ClickSong& s) {
  const double seconds = s.Beat(s.beats + 1);
  const auto frames = static_cast<int64_t>(seconds * kRate);
  std::vector<int16_t> pcm(static_cast<size_t>(2 * frames), 0);
  if (s.tone_hz > 0) {
    for (int64_t i = 0; i < frames; ++i) {
      pcm[static_cast<size_t>(2 * i + s.channel)] =
          static_cast<int16_t>(16000 * std::sin(2 * M_PI * s.tone_hz * i / kRate));
    }
  }
  if (s.clicks) {
    std::vector<double> times = s.beat_times;
    if (times.empty()) {
      for (int k = 0; k < s.beats; ++k) times.push_back(s.Beat(k));
    }
    for (double t : times) {
      const auto at = static_cast<int64_t>(std::llround(t * kRate));
      for (int64_t i = at; i < at + 40 && i < frames; ++i) {
        pcm[static_cast<size_t>(2 * i + s.channel)] = 26000;
      }
    }
  }
  QByteArray wav;
  auto put = [&wav](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) wav.append(static_cast<char>((v >> (8 * i)) & 0xff));
  };
  const auto data_bytes = static_cast<uint32_t>(pcm.size() * 2);
  wav.append("RIFF");
  put(36 + data_bytes, 4);
  wav.append("WAVEfmt ");
  put(16, 4);
  put(1, 2);
  put(2, 2);
  put(kRate, 4);
  put(kRate * 4, 4);
  put(4, 2);
  put(16, 2);
  wav.append("data");
  put(data_bytes, 4);
  wav.append(reinterpret_cast<const char*>(pcm.data()), static_cast<qsizetype>(data_bytes));
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(wav) == wav.size();
}

// A playlist entry for a click song: intro on beats 0 to 32, break on beats `break_beat` to
// `break_beat` + 32, regular beat grids. Loops and the rest are set by the test, then Grids().
inline PlaylistEntry MarkedEntry(const ClickSong& s, const QString& filename, int track,
                                 int break_beat, int64_t frequency) {
  PlaylistEntry e;
  e.track = track;
  e.filename = filename;
  e.artist = "Artist " + QString::number(track);
  e.title = "Title " + QString::number(track);
  e.bpm = static_cast<float>(s.bpm);
  e.introstart = static_cast<float>(s.Beat(0));
  e.introend = static_cast<float>(s.Beat(32));
  e.breakstart = static_cast<float>(s.Beat(break_beat));
  e.breakend = static_cast<float>(s.Beat(break_beat + 32));
  e.frequency = frequency;
  return e;
}

// Completes the beat grids after the markers are final.
inline void Grids(PlaylistEntry* e) {
  e->introbeatlist =
      NormaliseBeatList("", e->introstart, e->introend,
                        SectionLoop{e->introloopstart, e->introloopend, e->introlooprepeat});
  e->breakbeatlist =
      NormaliseBeatList("", e->breakstart, e->breakend,
                        SectionLoop{e->breakloopstart, e->breakloopend, e->breaklooprepeat});
}

// The scheduler on a decoding mixer, rendered as fast as it goes, as the export does.
class MixRig {
 public:
  MixRig() {
    engine_.Start(engine::OutputChoice::kNone);
    mixer_ = engine_.CreateMixer(engine::MixerKind::kDecoding);
    scheduler_ = std::make_unique<MixScheduler>(engine_, playlist_, host_);
    scheduler_->SetMixer(mixer_);
    scheduler_->SetAudioFolder(dir_.path() + "/");
    scheduler_->SetInlinePreparation(true);
  }

  QString Add(const ClickSong& song, const QString& name) {
    WriteClickSong(dir_.filePath(name), song);
    return name;
  }

  // Cues row 0 and renders the mix until it stops (or `max_seconds`): interleaved stereo.
  std::vector<float> Render(double max_seconds = 600) {
    for (size_t i = 0; i < playlist_.entries.size(); ++i) {
      playlist_.entries[i].track = static_cast<int64_t>(i + 1);
    }
    playlist_.current = 0;
    scheduler_->CueSong(0, true, dialogs_);
    std::vector<float> out;
    std::vector<float> block(2 * 4096);
    const auto limit = static_cast<size_t>(max_seconds * kRate * 2);
    while (out.size() < limit) {
      const int64_t n = engine_.RenderDecoding(mixer_, block.data(), 4096);
      if (n <= 0) break;
      out.insert(out.end(), block.begin(), block.begin() + 2 * n);
    }
    return out;
  }

  engine::Engine& engine() { return engine_; }
  MixScheduler& scheduler() { return *scheduler_; }
  Playlist& playlist() { return playlist_; }
  PlainMixHost& host() { return host_; }
  ScriptedDialogs& dialogs() { return dialogs_; }
  QString Folder() const { return dir_.path() + "/"; }

 private:
  QTemporaryDir dir_;
  engine::Engine engine_;
  engine::Channel mixer_;
  Playlist playlist_;
  PlainMixHost host_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<MixScheduler> scheduler_;
};

// Frames where a click starts in one channel of interleaved stereo.
inline std::vector<int64_t> ClickOnsets(const std::vector<float>& mix, int channel,
                                        float threshold = 0.3f) {
  std::vector<int64_t> onsets;
  int64_t last = -100000;
  const auto frames = static_cast<int64_t>(mix.size() / 2);
  for (int64_t i = 0; i < frames; ++i) {
    if (std::fabs(mix[static_cast<size_t>(2 * i + channel)]) < threshold) continue;
    if (i - last > 2000) onsets.push_back(i);
    last = i;
  }
  return onsets;
}

inline double Rms(const std::vector<float>& mix, int channel, double from_s, double to_s) {
  const auto from = static_cast<size_t>(from_s * kRate);
  const auto to = std::min(static_cast<size_t>(to_s * kRate), mix.size() / 2);
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += double(mix[2 * i + channel]) * mix[2 * i + channel];
  return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

inline int64_t Frame(double seconds) { return static_cast<int64_t>(std::llround(seconds * kRate)); }

}  // namespace tw::testing

#endif  // TUNEWRIGHT_TESTS_AUDIO_MIX_FIXTURE_H_
