// Random playlist generation on a synthetic library of 100,000 songs (tempos 70 to 170 BPM,
// ten genres, ten countries, element flags at random), with the filters off and with a
// realistic selection on (two genres and four countries, about 8 % of the library, typed in
// lower case as the preferences offer them). Each run asks for exactly 100 songs within the
// 750 ms budget; reported: the median time of a successful run and the share of runs that
// succeed within the budget. The last song's file is measured by the engine, as in the
// program.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "app/core/console_dialogs.h"
#include "data/data_paths.h"
#include "data/databases.h"
#include "data/marker_text.h"
#include "data/preferences.h"
#include "data/song_statements.h"
#include "data/song_statistics.h"
#include "engine/decode_fixtures.h"
#include "playlist/random_generator.h"
#include "playlist/random_source.h"
#include "playlist/song_play_time.h"

namespace {

constexpr int kSongs = 100000;
constexpr int kRuns = 40;

const char* const kGenres[] = {"House",   "Deep House", "Techno", "Trance",  "Drum & Bass",
                               "Hip Hop", "Disco",      "Funk",   "Ambient", "Electro"};
const char* const kCountries[] = {"UK",    "Germany", "France", "Netherlands", "USA",
                                  "Italy", "Belgium", "Sweden", "Japan",       "Spain"};

// The library, built once for both benchmarks.
class Library {
 public:
  Library() : paths_(dir_.path()) {
    QDir().mkpath(paths_.DataFolder());
    tw::ConsoleDialogs dialogs;
    if (!tw::OpenDatabases(paths_, dialogs, databases_)) std::abort();
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> centi_bpm(7000, 17000), pick(0, 9), flag(0, 1);
    std::uniform_real_distribution<float> intro_start(5, 40), break_start(150, 300);
    tw::Database& songs = databases_.song_database;
    songs.Execute("BEGIN");
    for (int i = 0; i < kSongs; ++i) {
      tw::SongRecord r;
      r.artist = "Artist " + QString::number(i % 5000);
      r.title = "Title " + QString::number(i);
      r.bpm = static_cast<float>(centi_bpm(random)) / 100.0f;
      const float beat = 60.0f / r.bpm;
      r.introstart = intro_start(random);
      r.introend = r.introstart + 32 * beat;
      r.breakstart = break_start(random);
      r.breakend = r.breakstart + 32 * beat;
      r.skipstart = r.introend + 10;
      r.skipend = r.skipstart + 30;
      r.introlooprepeat = r.breaklooprepeat = 1;
      // Beat lists as the record editor stores them: 32 marker texts each.
      for (int b = 0; b < 32; ++b) {
        r.introbeatlist += tw::MarkerText(r.introstart + b * beat, 4) + "\n";
        r.breakbeatlist += tw::MarkerText(r.breakstart + b * beat, 4) + "\n";
      }
      r.genre = kGenres[pick(random)];
      r.country = kCountries[pick(random)];
      r.label = "Label " + QString::number(i % 300);
      r.year = 1980 + i % 45;
      r.filename = r.artist + "/" + r.title + ".wav";
      r.introbass = flag(random);
      r.introvocal = flag(random);
      r.intromelody = flag(random);
      r.introbeats = flag(random);
      r.breakbass = flag(random);
      r.breakvocal = flag(random);
      r.breakmelody = flag(random);
      r.breakbeats = flag(random);
      if (!songs.Execute(tw::SongInsertStatement(r))) std::abort();
    }
    songs.Execute("COMMIT");
    // The first generation on a grown library gathers the planner's statistics, outside its
    // budget; done here so that the first measured run is like every later one.
    tw::RefreshSongStatistics(songs);
    std::printf("library: %d songs, %lld MB\n", kSongs,
                static_cast<long long>(QFileInfo(paths_.SongDatabase()).size() >> 20));
    // Every song's file is this one: the engine opens and sizes it for each attempt's last song.
    last_song_ = dir_.filePath("song.wav");
    tw::test::WriteWav(last_song_.toStdString(), std::vector<int16_t>(2 * 400 * tw::test::kRate),
                       2);
  }
  ~Library() { tw::CloseDatabases(databases_); }

  tw::Database& songs() { return databases_.song_database; }
  tw::SongLengthProbe Probe() const {
    return
        [probe = tw::EngineSongLength(), path = last_song_](const QString&) { return probe(path); };
  }

  static Library& Get() {
    static Library library;
    return library;
  }

 private:
  QTemporaryDir dir_;
  tw::DataPaths paths_;
  tw::Databases databases_;
  QString last_song_;
};

tw::Preferences HundredSongs(bool filtered) {
  tw::Preferences p;
  p.Path_audiofiles = "/music/";
  p.Minimum_number_of_songs = 100;
  p.Maximum_number_of_songs = "100";
  p.Minimum_playback_time = "2 minutes";
  p.Maximum_playback_time = "Infinite";
  if (filtered) {
    p.Genres = "house|techno";  // "house" also matches "Deep House"
    p.Countries = "uk|germany|france|netherlands";
  }
  return p;  // otherwise the defaults: 100 unique songs, 2 BPM distance, no bass/vocal/melody clash
}

void BM_GenerateHundredSongs(benchmark::State& state) {
  Library& library = Library::Get();
  const tw::Preferences preferences = HundredSongs(state.range(0) != 0);
  const tw::SongLengthProbe probe = library.Probe();
  std::vector<double> successful_ms;
  int runs = 0;
  int within_budget = 0;
  uint64_t seed = 1;
  for (auto _ : state) {
    tw::RandomSource random(seed++);
    const auto start = std::chrono::steady_clock::now();
    const QString text = tw::GenerateRandomPlaylist(library.songs(), preferences, random, probe);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(ms / 1000);
    ++runs;
    if (!text.isEmpty() && text.section('|', 0, 0).count(',') == 99) {
      successful_ms.push_back(ms);
      within_budget += ms <= tw::kGenerationBudget.count();
    }
  }
  std::sort(successful_ms.begin(), successful_ms.end());
  const double median = successful_ms.empty() ? 0 : successful_ms[successful_ms.size() / 2];
  state.counters["median_ms"] = median;
  state.counters["within_budget"] = runs ? static_cast<double>(within_budget) / runs : 0;
  state.counters["succeeded"] = runs ? static_cast<double>(successful_ms.size()) / runs : 0;
  std::printf(
      "%s: median %.1f ms per successful 100-song playlist; %d of %d runs succeeded within the "
      "750 ms budget, %zu at all\n",
      state.range(0) ? "filters on " : "filters off", median, within_budget, runs,
      successful_ms.size());
}

BENCHMARK(BM_GenerateHundredSongs)
    ->ArgName("filtered")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(kRuns)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
