#include "playlist/filter_clause.h"

#include <set>

#include "data/preferences.h"
#include "playlist/random_generator.h"
#include "playlist_fixture.h"

namespace tw {
namespace {

using testing::PlaylistFixture;
using testing::Song;

TEST(FilterCondition, InListsIgnoreCaseAndGenresMatchSubstrings) {
  struct Case {
    const char* values;
    const char* column;
    bool substring;
    const char* expected;
  } cases[] = {
      {"", "artist", false, ""},
      {"a|b'x", "artist", false, "casefold(artist) IN ('a','b''x')"},
      {"2001", "year", false, "casefold(year) IN ('2001')"},
      {"Björk|ÉTIENNE", "artist", false, "casefold(artist) IN ('björk','étienne')"},
      {"house|drum 'n' bass", "genre", true,
       "(casefold(genre) LIKE '%house%' OR casefold(genre) LIKE '%drum ''n'' bass%')"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FilterCondition(c.values, c.column, c.substring), c.expected) << c.values;
  }
}

TEST(BuildFilterClause, JoinsTheSetFiltersInOrder) {
  Preferences p;
  EXPECT_EQ(BuildFilterClause(p), "");
  p.Genres = "house";
  p.Artists = "a|b'x";
  EXPECT_EQ(BuildFilterClause(p),
            "casefold(artist) IN ('a','b''x') AND (casefold(genre) LIKE '%house%')");
  p.Countries = "uk";
  p.Record_labels = "emi";
  p.Years = "1999";
  EXPECT_EQ(BuildFilterClause(p),
            "casefold(artist) IN ('a','b''x') AND casefold(year) IN ('1999') AND "
            "casefold(label) IN ('emi') AND casefold(country) IN ('uk') AND "
            "(casefold(genre) LIKE '%house%')");
}

// The preferences offer every filter value in lower case; the songs keep their capitals.
class FilteredGenerationTest : public PlaylistFixture {
 protected:
  FilteredGenerationTest() {
    preferences_ = Preferences();
    preferences_.Minimum_number_of_songs = 1;
    preferences_.Maximum_number_of_songs = "5";
    preferences_.Minimum_playback_time = "0 minutes";
    preferences_.Shorten_songs = "Never";
    preferences_.Unique_songs_before_repeating = 0;
    SongRecord wanted = Song("Daft Punk", "One", 120);
    wanted.label = "Virgin";
    wanted.country = "France";
    wanted.year = 1997;
    wanted.genre = "French House, Disco";
    wanted_ = Add(wanted);
    SongRecord quoted = Song("B'X", "Two", 120);
    quoted_ = Add(quoted);
    SongRecord accented = Song("Étienne de Crécy", "Four", 120);
    accented.genre = "Électro";
    accented.label = "Ünderground";
    accented_ = Add(accented);
    SongRecord other = Song("Other", "Three", 120);
    other.label = "EMI";
    other.country = "UK";
    other.genre = "Techno";
    Add(other);
  }

  std::set<QString> PickedIds() {
    RandomSource random(3);
    const QString text = GenerateRandomPlaylist(
        songs(), preferences_, random, [](const QString&) { return 300.0; },
        std::chrono::milliseconds(0));
    std::set<QString> ids;
    if (text.isEmpty()) return ids;
    for (QString id : text.section('|', 0, 0).split(',')) {
      if (id.endsWith('R')) id.chop(1);
      ids.insert(id);
    }
    return ids;
  }

  QString wanted_;
  QString quoted_;
  QString accented_;
};

TEST_F(FilteredGenerationTest, EveryFilterMatchesRegardlessOfCase) {
  struct Case {
    QString Preferences::*filter;
    const char* value;
  } cases[] = {
      {&Preferences::Artists, "daft punk"},   {&Preferences::Record_labels, "virgin"},
      {&Preferences::Countries, "france"},    {&Preferences::Years, "1997"},
      {&Preferences::Genres, "french house"}, {&Preferences::Genres, "disco|polka"},
  };
  for (const Case& c : cases) {
    preferences_.*c.filter = c.value;
    EXPECT_EQ(PickedIds(), std::set<QString>{wanted_}) << c.value;
    preferences_.*c.filter = "";
  }
  preferences_.Artists = "b'x";
  EXPECT_EQ(PickedIds(), std::set<QString>{quoted_});
  // Capitals beyond A to Z, as DistinctValues lower-cases them.
  for (QString Preferences::*filter :
       {&Preferences::Artists, &Preferences::Genres, &Preferences::Record_labels}) {
    preferences_.Artists = preferences_.Genres = preferences_.Record_labels = "";
    preferences_.*filter = filter == &Preferences::Artists  ? "étienne de crécy"
                           : filter == &Preferences::Genres ? "électro"
                                                            : "ünderground";
    EXPECT_EQ(PickedIds(), std::set<QString>{accented_});
  }
  preferences_.Genres = preferences_.Record_labels = "";
  preferences_.Artists = "nobody";
  EXPECT_TRUE(PickedIds().empty());
}

}  // namespace
}  // namespace tw
