#include "data/settings_catalogue.h"

#include <QStringList>

#include "data/database.h"
#include "data/sql_text.h"

namespace tw {
namespace {

QString SongCounts() {
  QStringList counts = {"2"};
  for (int n = 5; n <= 100; n += 5) counts << QString::number(n);
  for (int n = 150; n <= 500; n += 50) counts << QString::number(n);
  for (int n = 600; n <= 900; n += 100) counts << QString::number(n);
  counts << "999";
  return counts.join(',');
}

QString BpmDistances() {
  QStringList values;
  for (int tenths = 5; tenths <= 95; tenths += 5) values << QString::number(tenths / 10.0, 'f', 1);
  return values.join(',');
}

QString FirstSongTempos(Database& songs) {
  QString values = "Random";
  QueryResult rows =
      songs.Query("SELECT DISTINCT CAST(bpm AS INTEGER) FROM music ORDER BY bpm ASC");
  while (rows.NextRow()) values += "," + rows.ColumnText(0) + " BPM";
  return values;
}

QString FirstOf(const QString& values) { return values.section(',', 0, 0); }

QString CombineHelp(const QString& what) {
  return "Choose whether " + what +
         " from 2 songs can be combined during transitions.\n\nDefault is No, which results in "
         "more harmonic transitions but fewer mix combinations are possible.\n\nNo is "
         "recommended if there are few songs in the database.";
}

QString FilterHelp(const QString& what) {
  return "Filter by " + what + "(s). The playlist will only contain songs from the selected " +
         what + "(s).\n\nHold Ctrl-key and click to select multiple " + what + "s";
}

SettingDef Filter(const QString& group, const QString& name, const QString& values,
                  const QString& help_word) {
  return {group, name, SettingKind::kManyOf, values, FirstOf(values), FilterHelp(help_word)};
}

}  // namespace

SettingsCatalogue BuildSettingsCatalogue(Database& songs) {
  const QString durations =
      "2 minutes,10 minutes,15 minutes,30 minutes,1 hour,2 hours,3 hours,4 hours,5 hours,"
      "6 hours,7 hours,8 hours,9 hours,10 hours";
  const QString counts = SongCounts();
  const QString tempos = FirstSongTempos(songs);
  const QString yes_no = "Yes,No";
  const QString zwsp(2, QChar(0x200B));
  using K = SettingKind;
  return {
      {"Directories", "Path audiofiles", K::kFolder, "", "",
       "The main folder where your audiofiles are stored."},
      {"", "Path sleevesfiles", K::kFolder, "", "",
       "The main folder where your sleevefiles are stored."},
      {"Playlist length", "Minimum number of songs", K::kOneOf, counts, "2",
       "Minimum number of songs the playlist must contain.\n\nDefault is 2."},
      {"", "Maximum number of songs", K::kOneOf, counts, "100",
       "Maximum number of songs the playlist must contain.\n\nDefault is 100."},
      {"", "Minimum playback time", K::kOneOf, durations, "2 minutes",
       "Minimum playback duration of the playlist.\n\nDefault is 2 minutes."},
      {"", "Maximum playback time", K::kOneOf, durations + ",Infinite", "Infinite",
       "Maximum playback duration of the playlist.\n\nDefault is Infinite."},
      {"Song length", "Shorten songs", K::kOneOf, "Random,Always,Never", "Random",
       "If you have placed skip-markers in songs, these songs can be played in abbreviated "
       "form.\n\nDefault is Random, which plays songs alternately short and long."},
      {"Repeating", "Unique songs before repeating", K::kOneOf,
       "2,5,10,15,20,25,30,35,40,45,50,55,60,65,70,75,80,85,90,95,100", "100",
       "Prevents repetition of the same songs. Select how many unique songs should be played "
       "before a previously played song is repeated.\n\nDefault is 100."},
      {"Speed", "BPM of first song", K::kOneOf, tempos, "Random",
       "The BPM value of the first song in the playlist.\n\nDefault is random, which starts "
       "the playlist with a random song."},
      {"", "BPM order of songs", K::kOneOf, "Random,Ascending,Descending", "Random",
       "Determine whether the speed of songs in the playlist should change in ascending, "
       "descending, or random order.\n\nDefault is Random.\n\nChoose Ascending for a playlist "
       "that starts with a low BPM and ends with a high BPM.\n\nChoose Descending for a "
       "playlist that starts with a high BPM and ends with a low BPM."},
      {"", "Maximum BPM distance", K::kOneOf, BpmDistances(), "2.0",
       "Determines how much the pitch can be adjusted. The lower the value, the less "
       "noticeable that the pitch has been adjusted.\n\nDefault is 2.0, which adjust the "
       "pitch no more than 2 bpm lower or higher.\n\nSelect a higher value to increase mix "
       "combinations."},
      // The help names the default that "Default" and a missing key really give.
      {"", "Pitch reset", K::kOneOf, "0.5,0.6,0.7,0.8,0.9,1.0", "1.0",
       "Determines when the pitch will be adjusted to the original speed of a song. This way, "
       "the playlist can contain songs with very different BMP values " +
           zwsp +
           "without the pitch being adjusted excessively. The lower the value, the less "
           "noticeable that the pitch has been adjusted.\n\nDefault is 1.0."},
      {"Transitions", "Filter overlapped beats", K::kOneOf,
       "Current song,Next song,Both songs,None", "Current song",
       "The song(s) whose beats need to be filtered during a transition. During a transition "
       "it sounds better if the beats of one song sound less heavy\n\nDefault is Current "
       "song."},
      {"", "Combine beats", K::kOneOf, yes_no, "Yes",
       "Choose whether beats from 2 songs can be combined during transitions.\n\nDefault is "
       "Yes, which results in overlapping beats (sounds a little less nice, but makes many "
       "more mix combinations possible)."},
      {"", "Combine basses", K::kOneOf, yes_no, "No", CombineHelp("basses")},
      {"", "Combine vocals", K::kOneOf, yes_no, "No", CombineHelp("vocals")},
      {"", "Combine melodies", K::kOneOf, yes_no, "No", CombineHelp("melodies")},
      Filter("Filter - You may select multiple items (hold Ctrl-key and click left mouse "
             "button)",
             "Countries", DistinctValues(songs, "country"), "country"),
      Filter("", "Genres", SplitValues(DistinctValues(songs, "genre")), "genre"),
      Filter("", "Years", DistinctValues(songs, "year"), "year"),
      Filter("", "Record labels", DistinctValues(songs, "label"), "record label"),
      Filter("", "Artists", DistinctValues(songs, "artist"), "artist"),
  };
}

QString SettingKey(const SettingDef& entry) {
  QString key = entry.name;
  key.replace(' ', '_');
  return key;
}

QString SettingGroup(const SettingsCatalogue& catalogue, size_t index) {
  for (size_t i = index + 1; i-- > 0;) {
    if (i >= catalogue.size()) continue;
    const QString& group = catalogue[i].group;
    if (group.isEmpty()) continue;
    if (group.left(6) == "Filter") return "Filter";
    if (group == "Directories") return "Directories Windows";
    return group;
  }
  return {};
}

QString SettingDefault(const SettingsCatalogue& catalogue, const QString& name) {
  for (const SettingDef& entry : catalogue) {
    if (entry.name == name) return entry.default_value;
  }
  return {};
}

}  // namespace tw
