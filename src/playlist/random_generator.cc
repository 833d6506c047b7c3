#include "playlist/random_generator.h"

#include <cmath>

#include <QElapsedTimer>
#include <QStringList>

#include "data/database.h"
#include "data/marker_text.h"
#include "data/preferences.h"
#include "data/song_statistics.h"
#include "data/sql_text.h"
#include "playlist/filter_clause.h"
#include "playlist/playlist_files.h"
#include "playlist/playlist_parser.h"
#include "playlist/playlist_services.h"
#include "playlist/random_source.h"

namespace tw {
namespace {

constexpr const char* kSelectCandidate =
    "SELECT id, bpm, filename, introprefix, introstart, introend, introloopstart, introloopend, "
    "introlooprepeat, breakstart, breakend, breakloopstart, breakloopend, breaklooprepeat, "
    "breakcontinue, skipstart, skipend, breakbass, breakvocal, breakmelody, breakbeats FROM "
    "music WHERE ";

constexpr const char* kSelectLastSong =
    "SELECT id, filename, introprefix, introstart, introend, introloopstart, introloopend, "
    "introlooprepeat, breakstart, breakend, breakloopstart, breakloopend, breaklooprepeat, "
    "breakcontinue, skipstart, skipend FROM music WHERE id='";

// The markers of a fetched song that its running time needs.
struct SongTimes {
  float introend = 0;
  float breakstart = 0;
  float breakend = 0;
  float breakloopstart = 0;
  float breakloopend = 0;
  int64_t breaklooprepeat = 0;
  float skipstart = 0;
  float skipend = 0;
};

// Reads the markers from a row whose columns from `introprefix` on follow the order of both
// select lists above, `introprefix` being column `first`.
SongTimes ReadSongTimes(const QueryResult& row, int first) {
  auto marker = [&](int offset) { return MarkerSeconds(row.ColumnText(first + offset)); };
  SongTimes t;
  t.introend = marker(2);
  t.breakstart = marker(6);
  t.breakend = marker(7);
  t.breakloopstart = marker(8);
  t.breakloopend = marker(9);
  t.breaklooprepeat = row.ColumnInteger(first + 10);
  t.skipstart = marker(12);
  t.skipend = marker(13);
  return t;
}

float Lookup(Database& songs, const char* sql) {
  QueryResult row = songs.Query(sql);
  row.NextRow();
  return static_cast<float>(row.ColumnReal(0));
}

// Everything one run reads once.
struct RunLimits {
  int64_t song_limit = 0;
  float minimum_time = 0;
  float maximum_time = 0;
  float lowest = 0;
  float highest = 0;
  QString filter;
};

class Attempt {
 public:
  Attempt(Database& songs, const Preferences& prefs, const RunLimits& limits, RandomSource& random,
          const SongLengthProbe& song_length)
      : songs_(songs), prefs_(prefs), limits_(limits), random_(random), song_length_(song_length) {}

  // One attempt from an empty playlist; the PlaylistText when it passes, else empty.
  QString Run() {
    StartWindow();
    while (PickOne()) {
    }
    return Finish();
  }

 private:
  bool Shorten() {
    if (prefs_.Shorten_songs == "Always") return true;
    return prefs_.Shorten_songs == "Random" && random_.NextBit() == 1;
  }

  void StartWindow() {
    if (prefs_.BPM_of_first_song == "Random") {
      low_ = limits_.lowest;
      high_ = limits_.highest;
    } else {
      low_ = ParseTimeEntry(prefs_.BPM_of_first_song).seconds;
      high_ = low_ + 0.99f;
    }
  }

  QString CandidateQuery() const {
    QString sql = kSelectCandidate;
    if (!excluded_.isEmpty()) sql += "id NOT IN (" + excluded_.join(',') + ") AND ";
    if (!limits_.filter.isEmpty()) sql += limits_.filter + " AND ";
    for (const QString& condition : combination_) sql += condition + " AND ";
    sql += "bpm BETWEEN " + BareNumber(low_) + " AND " + BareNumber(high_) +
           " ORDER BY RANDOM() LIMIT 1";
    return sql;
  }

  // One pick; false when the pick loop ends.
  bool PickOne() {
    ++exclusion_count_;
    if (exclusion_count_ <= prefs_.Unique_songs_before_repeating && !last_id_.isEmpty()) {
      excluded_ << last_id_;
    } else {
      excluded_.clear();
      exclusion_count_ = 0;
    }
    // Nothing past the song limit is fetched; checking before the query saves its cost.
    if (fetched_ >= limits_.song_limit) return false;
    QueryResult row = songs_.Query(CandidateQuery());
    if (!row.NextRow()) return false;
    const QString id = row.ColumnText(0);
    if (!IsDecimalId(id)) return false;  // only row ids ever go back into a statement

    ++fetched_;
    last_id_ = id;
    const SongTimes t = ReadSongTimes(row, 3);
    combination_.clear();
    if (prefs_.Combine_basses == "No" && row.ColumnInteger(17) == 1) combination_ << "introbass=0";
    if (prefs_.Combine_vocals == "No" && row.ColumnInteger(18) == 1) {
      combination_ << "introvocal=0";
    }
    if (prefs_.Combine_melodies == "No" && row.ColumnInteger(19) == 1) {
      combination_ << "intromelody=0";
    }
    if (prefs_.Combine_beats == "No" && row.ColumnInteger(20) == 1) combination_ << "introbeats=0";

    float time =
        SongPlayTime(fetched_ == 1 ? kFirstSong : kMiddleSong, t.introend, t.breakend,
                     t.breakloopstart, t.breakloopend, t.breaklooprepeat, QString(), song_length_);
    const bool shortened = Shorten();
    if (shortened) time -= t.skipend - t.skipstart;
    if (!(total_ + time < limits_.maximum_time)) return false;

    total_ += time;
    ids_ << id;
    times_ << QString::number(time, 'f', 2) + (shortened ? QString(kShortenedMark) : QString());

    const float bpm = static_cast<float>(row.ColumnReal(1));
    if (fetched_ == 1 || std::fabs(bpm - anchor_) <= prefs_.Pitch_reset) {
      anchor_ = bpm;
      const float distance = prefs_.Maximum_BPM_distance;
      if (prefs_.BPM_order_of_songs == "Ascending") {
        low_ = anchor_;
        high_ = anchor_ + distance;
      } else if (prefs_.BPM_order_of_songs == "Descending") {
        low_ = anchor_ - distance;
        high_ = anchor_;
      } else {
        low_ = anchor_ - distance;
        high_ = anchor_ + distance;
      }
      if (high_ > limits_.highest) high_ = limits_.highest;
      if (low_ < limits_.lowest) low_ = limits_.lowest;
      ids_.last() += kTempoResetMark;
    }
    return true;
  }

  QString Finish() {
    // An attempt that found no song has no playlist to offer, whatever the minimum count.
    if (ids_.isEmpty()) return {};
    QString last_id = ids_.last();
    if (last_id.endsWith(kTempoResetMark)) last_id.chop(1);
    QueryResult row = songs_.Query(kSelectLastSong + last_id + "' LIMIT 1");
    if (!row.NextRow()) return {};
    const SongTimes t = ReadSongTimes(row, 2);
    total_ -= ParseTimeEntry(times_.last()).seconds;

    float time;
    const bool shortened = Shorten();
    if (shortened) {
      time = t.breakend - t.introend - (t.skipend - t.skipstart);
    } else {
      const QString path = NativePath(prefs_.Path_audiofiles + row.ColumnText(1));
      time = SongPlayTime(kLastSong, t.introend, t.breakend, t.breakloopstart, t.breakloopend,
                          t.breaklooprepeat, path, song_length_);
    }
    total_ += time;

    if (ids_.size() < prefs_.Minimum_number_of_songs || total_ < limits_.minimum_time ||
        total_ > limits_.maximum_time) {
      return {};
    }
    times_.last() =
        QString::number(time, 'f', 2) + (shortened ? QString(kShortenedMark) : QString());
    return ids_.join(',') + '|' + times_.join(',');
  }

  Database& songs_;
  const Preferences& prefs_;
  const RunLimits& limits_;
  RandomSource& random_;
  const SongLengthProbe& song_length_;

  QStringList ids_;
  QStringList times_;
  int64_t fetched_ = 0;
  float total_ = 0;
  QString last_id_;
  QStringList excluded_;
  int64_t exclusion_count_ = 0;
  QStringList combination_;
  float low_ = 0;
  float high_ = 0;
  float anchor_ = 0;
};

}  // namespace

float LowestBpm(Database& songs) {
  return Lookup(songs, "SELECT bpm FROM music ORDER BY bpm ASC LIMIT 1");
}

float HighestBpm(Database& songs) {
  return Lookup(songs, "SELECT bpm FROM music ORDER BY bpm DESC LIMIT 1");
}

QString GenerateRandomPlaylist(Database& songs, const Preferences& preferences,
                               RandomSource& random, const SongLengthProbe& song_length,
                               std::chrono::milliseconds budget) {
  // Before the clock starts: a library that grew a lot is analysed once, which is not the
  // generator's time.
  RefreshSongStatistics(songs);
  QElapsedTimer clock;
  clock.start();
  RunLimits limits;
  limits.song_limit = SongCountLimit(preferences.Maximum_number_of_songs);
  limits.minimum_time =
      static_cast<float>(MinimumDurationSeconds(preferences.Minimum_playback_time));
  limits.maximum_time =
      static_cast<float>(MaximumDurationSeconds(preferences.Maximum_playback_time));
  limits.lowest = LowestBpm(songs);
  limits.highest = HighestBpm(songs);
  limits.filter = BuildFilterClause(preferences);

  const ScopedSqlRandom seeded(songs, random);
  for (;;) {
    const QString text = Attempt(songs, preferences, limits, random, song_length).Run();
    if (!text.isEmpty()) return text;
    if (clock.elapsed() > budget.count()) return {};
  }
}

QString GenerateRandomPlaylist(PlaylistServices& services) {
  LoadPreferences(services.paths, services.catalogue, services.preferences);
  return GenerateRandomPlaylist(services.songs, services.preferences, services.random,
                                services.song_length, services.generation_budget);
}

}  // namespace tw
