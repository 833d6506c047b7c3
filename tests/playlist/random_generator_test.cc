#include "playlist/random_generator.h"

#include <chrono>
#include <cmath>
#include <functional>
#include <map>
#include <set>

#include <QStringList>

#include "playlist/playlist_parser.h"
#include "playlist_fixture.h"

namespace tw {
namespace {

using std::chrono::hours;
using std::chrono::milliseconds;
using testing::PlaylistFixture;
using testing::Song;

// One song of a generated PlaylistText, split into its parts.
struct Pick {
  QString id;
  bool reset = false;
  QString time;  // without the mark
  bool shortened = false;
};

std::vector<Pick> Picks(const QString& text) {
  std::vector<Pick> picks;
  if (text.isEmpty()) return picks;
  const QStringList ids = text.section('|', 0, 0).split(',');
  const QStringList times = text.section('|', 1, 1).split(',');
  EXPECT_EQ(ids.size(), times.size()) << text.toStdString();
  for (qsizetype i = 0; i < ids.size() && i < times.size(); ++i) {
    Pick p{ids[i], ids[i].endsWith('R'), times[i], times[i].endsWith('S')};
    if (p.reset) p.id.chop(1);
    if (p.shortened) p.time.chop(1);
    picks.push_back(p);
  }
  return picks;
}

// Preferences that leave every rule but the one under test out of the way: no shortening, no
// exclusion, every element combination allowed, no time limits, at most ten songs.
class GeneratorTest : public PlaylistFixture {
 protected:
  GeneratorTest() {
    Preferences& p = preferences_;
    p = Preferences();
    p.Path_audiofiles = "music/";
    p.Minimum_number_of_songs = 2;
    p.Maximum_number_of_songs = "10";
    p.Minimum_playback_time = "0 minutes";
    p.Maximum_playback_time = "Infinite";
    p.Shorten_songs = "Never";
    p.Unique_songs_before_repeating = 0;
    p.Pitch_reset = 0;
    p.Combine_basses = p.Combine_vocals = p.Combine_melodies = p.Combine_beats = "Yes";
  }

  QString Generate(uint64_t seed, milliseconds budget = hours(1)) {
    RandomSource random(seed);
    return GenerateRandomPlaylist(
        songs(), preferences_, random, [this](const QString&) { return song_length_; }, budget);
  }

  // Adds songs at these tempos; returns id -> tempo.
  std::map<QString, float> AddTempos(std::initializer_list<float> tempos) {
    std::map<QString, float> ids;
    for (float bpm : tempos) ids[Add(Song("A", QString::number(bpm), bpm))] = bpm;
    return ids;
  }
};

// The fixture's songs run 110 s to the break end with the intro ending at 20 s and a 20 s skip
// region; their files last song_length_ = 300 s.
TEST_F(GeneratorTest, RunningTimesAndShortenedMarks) {
  const QString id = Add(Song("A", "One", 120));
  preferences_.Maximum_number_of_songs = "3";
  preferences_.Shorten_songs = "Never";
  EXPECT_EQ(Generate(1), id + "R," + id + "R," + id + "R|110.00,90.00,280.00");
  preferences_.Shorten_songs = "Always";
  // The shortened last song ends at its break end.
  EXPECT_EQ(Generate(1), id + "R," + id + "R," + id + "R|90.00S,70.00S,70.00S");

  preferences_.Shorten_songs = "Random";
  const char* const full[] = {"110.00", "90.00", "280.00"};
  const char* const shortened[] = {"90.00", "70.00", "70.00"};
  std::set<bool> seen;
  for (uint64_t seed = 1; seed <= 20; ++seed) {
    const std::vector<Pick> picks = Picks(Generate(seed));
    ASSERT_EQ(picks.size(), 3u);
    for (size_t i = 0; i < picks.size(); ++i) {
      EXPECT_EQ(picks[i].time, picks[i].shortened ? shortened[i] : full[i]) << i;
      seen.insert(picks[i].shortened);
    }
  }
  EXPECT_EQ(seen, (std::set<bool>{false, true}));
}

TEST_F(GeneratorTest, TheAnchorMovesOnlyOnSongsWithinThePitchReset) {
  const auto tempo = AddTempos({120, 120.5f, 121, 121.5f, 122});
  preferences_.Maximum_BPM_distance = 2;
  preferences_.Pitch_reset = 0.5f;
  preferences_.Maximum_number_of_songs = "20";
  std::set<bool> marks;
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    const std::vector<Pick> picks = Picks(Generate(seed));
    ASSERT_FALSE(picks.empty());
    EXPECT_TRUE(picks[0].reset);
    float anchor = tempo.at(picks[0].id);
    for (size_t i = 1; i < picks.size(); ++i) {
      const float bpm = tempo.at(picks[i].id);
      EXPECT_LE(std::fabs(bpm - anchor), 2.0f);
      EXPECT_EQ(picks[i].reset, std::fabs(bpm - anchor) <= 0.5f) << i;
      if (picks[i].reset) anchor = bpm;
      marks.insert(picks[i].reset);
    }
  }
  EXPECT_EQ(marks, (std::set<bool>{false, true}));
}

TEST_F(GeneratorTest, TempoWindowsFollowTheOrder) {
  const auto tempo = AddTempos({100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110});
  preferences_.Maximum_BPM_distance = 2;
  preferences_.Pitch_reset = 5;  // every pick moves the anchor
  preferences_.Maximum_number_of_songs = "40";
  struct Case {
    const char* order;
    std::function<bool(float previous, float bpm)> allowed;
    float end;  // the tempo the order runs into, or 0
  } cases[] = {
      {"Ascending", [](float a, float b) { return b >= a && b <= a + 2; }, 110},
      {"Descending", [](float a, float b) { return b <= a && b >= a - 2; }, 100},
      {"Random", [](float a, float b) { return std::fabs(b - a) <= 2; }, 0},
  };
  for (const Case& c : cases) {
    preferences_.BPM_order_of_songs = c.order;
    for (uint64_t seed = 1; seed <= 5; ++seed) {
      const std::vector<Pick> picks = Picks(Generate(seed));
      ASSERT_EQ(picks.size(), 40u) << c.order;
      bool at_end = false;
      for (size_t i = 1; i < picks.size(); ++i) {
        const float previous = tempo.at(picks[i - 1].id), bpm = tempo.at(picks[i].id);
        EXPECT_TRUE(c.allowed(previous, bpm)) << c.order << " " << previous << " -> " << bpm;
        // At the highest (lowest) tempo the window shrinks to that tempo alone.
        if (at_end) {
          EXPECT_EQ(bpm, c.end) << c.order;
        }
        at_end = at_end || (c.end != 0 && bpm == c.end);
      }
      if (c.end != 0) {
        EXPECT_TRUE(at_end) << c.order << " seed " << seed;
      }
    }
  }
}

TEST_F(GeneratorTest, FirstSongTempoFromThePreferences) {
  const auto tempo = AddTempos({100, 105, 105.5f, 106, 110});
  preferences_.Maximum_BPM_distance = 10;
  preferences_.BPM_of_first_song = "105 BPM";
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    const std::vector<Pick> picks = Picks(Generate(seed));
    ASSERT_FALSE(picks.empty());
    const float first = tempo.at(picks[0].id);
    EXPECT_TRUE(first == 105 || first == 105.5f) << first;  // 105 to 105.99
  }
  preferences_.BPM_of_first_song = "124 BPM";  // no song there: every attempt fails
  EXPECT_EQ(Generate(1, milliseconds(0)), "");
}

TEST_F(GeneratorTest, RecentSongsAreExcluded) {
  const QString a = Add(Song("A", "One", 120)), b = Add(Song("B", "Two", 120)),
                c = Add(Song("C", "Three", 120));
  preferences_.Unique_songs_before_repeating = 2;
  preferences_.Maximum_number_of_songs = "12";
  bool repeated_at_once = false;
  for (uint64_t seed = 1; seed <= 30; ++seed) {
    const std::vector<Pick> p = Picks(Generate(seed));
    ASSERT_EQ(p.size(), 12u);
    // The list fills for two picks, then is emptied for one: picks 1, 4, 7, ... exclude none.
    for (size_t i = 0; i < p.size(); ++i) {
      const size_t excluded = i % 3;  // how many picks before this one it keeps apart from
      for (size_t back = 1; back <= excluded; ++back) {
        EXPECT_NE(p[i].id, p[i - back].id) << "seed " << seed << " pick " << i;
      }
    }
    repeated_at_once = repeated_at_once || p[3].id == p[2].id;
  }
  EXPECT_TRUE(repeated_at_once);

  // More songs to keep apart than the library holds: the pick loop ends when none is left.
  preferences_.Unique_songs_before_repeating = 100;
  const std::vector<Pick> p = Picks(Generate(1));
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ((std::set<QString>{p[0].id, p[1].id, p[2].id}), (std::set<QString>{a, b, c}));
}

TEST_F(GeneratorTest, IntrosDoNotClashWithThePreviousBreak) {
  struct Case {
    const char* name;
    QString Preferences::*rule;
    int SongRecord::*intro;
    int SongRecord::*brk;
  } cases[] = {
      {"basses", &Preferences::Combine_basses, &SongRecord::introbass, &SongRecord::breakbass},
      {"vocals", &Preferences::Combine_vocals, &SongRecord::introvocal, &SongRecord::breakvocal},
      {"melodies", &Preferences::Combine_melodies, &SongRecord::intromelody,
       &SongRecord::breakmelody},
      {"beats", &Preferences::Combine_beats, &SongRecord::introbeats, &SongRecord::breakbeats},
  };
  for (const Case& c : cases) {
    songs().Execute("DELETE FROM music");
    SongRecord with_break = Song("P", c.name, 120);
    with_break.*c.brk = 1;
    SongRecord with_intro = Song("Q", c.name, 120);
    with_intro.*c.intro = 1;
    const QString p = Add(with_break), q = Add(with_intro);
    for (const char* rule : {"No", "Yes"}) {
      preferences_.*c.rule = rule;
      bool clashed = false;
      for (uint64_t seed = 1; seed <= 10; ++seed) {
        const std::vector<Pick> picks = Picks(Generate(seed));
        ASSERT_EQ(picks.size(), 10u) << c.name;
        for (size_t i = 1; i < picks.size(); ++i) {
          clashed = clashed || (picks[i - 1].id == p && picks[i].id == q);
        }
      }
      EXPECT_EQ(clashed, QString(rule) == "Yes") << c.name << " " << rule;
    }
    preferences_.*c.rule = "Yes";
  }
}

// Songs of 120 s to the break end with the intro ending at 30 s: 120 s first, 90 s in the
// middle; the last runs to the end of its 60 s file, so 30 s.
TEST_F(GeneratorTest, CountAndTimeLimits) {
  SongRecord r = Song("A", "One", 120);
  r.introend = 30;
  r.breakend = 120;
  const QString id = Add(r);
  // 100 songs: 120 s, 98 x 90 s, 30 s.
  QStringList hundred_ids(100, id + "R"), hundred_times(98, "90.00");
  hundred_times.prepend("120.00");
  hundred_times.append("30.00");
  const QString hundred = hundred_ids.join(',') + '|' + hundred_times.join(',');
  struct Case {
    const char* maximum_songs;
    int64_t minimum_songs;
    const char* minimum_time;
    const char* maximum_time;
    double file_length;
    QString expected;
  } cases[] = {
      // 120 + 90 + 90 reaches the maximum: the third song is left out and does not count.
      {"10", 2, "0 minutes", "5 minutes", 60, id + "R," + id + "R|120.00,30.00"},
      {"10", 3, "0 minutes", "5 minutes", 60, ""},
      {"10", 2, "3 minutes", "5 minutes", 60, ""},   // 150 s is too short
      {"10", 2, "0 minutes", "5 minutes", 400, ""},  // the long last song passes the maximum
      {"1", 1, "0 minutes", "Infinite", 60, id + "R|30.00"},
      {"1", 2, "0 minutes", "Infinite", 60, ""},
      {"Infinite", 2, "0 minutes", "Infinite", 60, hundred},
  };
  for (const Case& c : cases) {
    preferences_.Maximum_number_of_songs = c.maximum_songs;
    preferences_.Minimum_number_of_songs = c.minimum_songs;
    preferences_.Minimum_playback_time = c.minimum_time;
    preferences_.Maximum_playback_time = c.maximum_time;
    song_length_ = c.file_length;
    EXPECT_EQ(Generate(1, milliseconds(0)), c.expected)
        << c.maximum_songs << " " << c.minimum_songs << " " << c.minimum_time << " "
        << c.maximum_time << " " << c.file_length;
  }
}

TEST_F(GeneratorTest, NeverOffersAPlaylistWithoutSongs) {
  AddTempos({120});
  preferences_.Minimum_number_of_songs = 0;
  preferences_.BPM_of_first_song = "90 BPM";
  EXPECT_EQ(Generate(1, milliseconds(0)), "");
}

TEST_F(GeneratorTest, FailedAttemptsAreRetriedWithinTheBudget) {
  // Two songs passing the 5 minutes only when the last is not shortened (110 + 280 s, not
  // 110 + 70 s): each attempt succeeds with one chance in two.
  AddTempos({120});
  preferences_.Maximum_number_of_songs = "2";
  preferences_.Minimum_playback_time = "5 minutes";
  preferences_.Shorten_songs = "Random";
  std::set<bool> single_attempt_succeeded;
  for (uint64_t seed = 1; seed <= 20; ++seed) {
    const std::vector<Pick> picks = Picks(Generate(seed));
    ASSERT_EQ(picks.size(), 2u) << "seed " << seed;
    EXPECT_EQ(picks[1].time, "280.00");
    EXPECT_FALSE(picks[1].shortened);
    // With no time to spare, the first attempt is also the last.
    single_attempt_succeeded.insert(!Generate(seed, milliseconds(0)).isEmpty());
  }
  EXPECT_EQ(single_attempt_succeeded, (std::set<bool>{false, true}));
}

TEST_F(GeneratorTest, ASeedRepeatsThePlaylist) {
  for (int i = 0; i < 20; ++i) AddTempos({100.0f + static_cast<float>(i) / 2});
  preferences_.Shorten_songs = "Random";
  preferences_.Unique_songs_before_repeating = 5;
  std::set<QString> texts;
  for (uint64_t seed = 1; seed <= 5; ++seed) {
    const QString text = Generate(seed);
    EXPECT_EQ(Generate(seed), text);
    texts.insert(text);
  }
  EXPECT_GT(texts.size(), 1u);
}

TEST_F(GeneratorTest, LowestAndHighestTempo) {
  EXPECT_EQ(LowestBpm(songs()), 0);
  EXPECT_EQ(HighestBpm(songs()), 0);
  AddTempos({121.5f, 95.25f, 170});
  EXPECT_EQ(LowestBpm(songs()), 95.25f);
  EXPECT_EQ(HighestBpm(songs()), 170);
}

}  // namespace
}  // namespace tw
