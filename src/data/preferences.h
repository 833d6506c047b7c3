#ifndef TUNEWRIGHT_DATA_PREFERENCES_H_
#define TUNEWRIGHT_DATA_PREFERENCES_H_

#include <cstdint>
#include <optional>

#include <QString>

#include "data/ini_file.h"
#include "data/settings_catalogue.h"

namespace tw {

class DataPaths;

// The user's preferences and the session, named after their INI keys. The file is the master
// copy: this record is reloaded before every playlist operation.
struct Preferences {
  QString IDs;                    // "Session": the PlaylistText of the current playlist
  int64_t Playlist_position = 0;  // "Session": the row selected when the program last ended
  QString Path_audiofiles;
  QString Path_sleevesfiles;
  int64_t Minimum_number_of_songs = 2;
  QString Maximum_number_of_songs = "100";
  QString Minimum_playback_time = "2 minutes";
  QString Maximum_playback_time = "Infinite";
  QString Shorten_songs = "Random";
  int64_t Unique_songs_before_repeating = 100;
  QString BPM_of_first_song = "Random";
  QString BPM_order_of_songs = "Random";
  float Maximum_BPM_distance = 2.0f;
  float Pitch_reset = 1.0f;
  QString Filter_overlapped_beats = "Current song";
  QString Combine_beats = "Yes";
  QString Combine_basses = "No";
  QString Combine_vocals = "No";
  QString Combine_melodies = "No";
  // Filters: selected values joined by "|"; empty = no filter.
  QString Countries;
  QString Genres;
  QString Years;
  QString Record_labels;
  QString Artists;
};

// The INI groups and keys outside the catalogue.
inline constexpr const char* kSessionGroup = "Session";
inline constexpr const char* kIdsKey = "IDs";
inline constexpr const char* kPlaylistPositionKey = "Playlist position";

// Fills `prefs` from the preferences file. Never fails: a missing or unreadable file gives the
// defaults (keeping `Playlist_position`), a missing key its default, a filter key that is
// missing no filter. Values are used as they stand; a number that cannot be read as one gives
// the default.
void LoadPreferences(const DataPaths& paths, const SettingsCatalogue& catalogue,
                     Preferences& prefs);

// An open preferences file: select a group, write keys, then Close writes the file back.
class PreferencesWriter {
 public:
  explicit PreferencesWriter(QString path, IniFile contents)
      : path_(std::move(path)), ini_(std::move(contents)) {}

  void SelectGroup(const QString& group) { group_ = group; }
  void WriteText(const QString& key, const QString& value) { ini_.SetValue(group_, key, value); }
  void WriteInteger(const QString& key, int64_t value) { WriteText(key, QString::number(value)); }
  // Writes the whole file back; false when it could not be written (the old file stays).
  bool Close() { return ini_.Save(path_); }

 private:
  QString path_;
  IniFile ini_;
  QString group_;
};

// Makes sure the data folder exists and opens the preferences file for update, creating it
// with its comment header when it is missing. Nothing when it can neither be opened nor made.
std::optional<PreferencesWriter> OpenPreferencesFile(const DataPaths& paths);

// "Infinite" gives 100; any other text the value of its leading digits.
int64_t SongCountLimit(const QString& text);
// "... hour(s)" gives hours in seconds, anything else minutes in seconds.
int64_t MinimumDurationSeconds(const QString& text);
// "Infinite" gives 360000 (100 hours); anything else as MinimumDurationSeconds.
int64_t MaximumDurationSeconds(const QString& text);
// The value of a text's leading decimal digits; 0 when it does not begin with one.
int64_t LeadingDigits(const QString& text);

}  // namespace tw

#endif  // TUNEWRIGHT_DATA_PREFERENCES_H_
