#include "data/preferences.h"

#include <QDir>
#include <QFileInfo>

#include "data/data_paths.h"

namespace tw {
namespace {

// Reads one group's keys with the catalogue's defaults.
class PreferenceReader {
 public:
  PreferenceReader(const IniFile& ini, const SettingsCatalogue& catalogue)
      : ini_(ini), catalogue_(catalogue) {}

  void Group(const QString& group) { group_ = group; }

  QString Text(const QString& key, const QString& fallback) const {
    return ini_.Value(group_, key, fallback);
  }
  // A catalogue entry, found by its key (the display name with "_" for blanks).
  QString Setting(const QString& key) const { return Text(key, Default(key)); }
  int64_t Integer(const QString& key, int64_t fallback) const {
    bool ok = false;
    const int64_t value = ini_.Value(group_, key, {}).toLongLong(&ok);
    return ok ? value : fallback;
  }
  int64_t SettingInteger(const QString& key) const {
    return Integer(key, Default(key).toLongLong());
  }
  float SettingFloat(const QString& key) const {
    bool ok = false;
    const float value = ini_.Value(group_, key, {}).toFloat(&ok);
    return ok ? value : Default(key).toFloat();
  }

 private:
  QString Default(QString key) const {
    key.replace('_', ' ');
    return SettingDefault(catalogue_, key);
  }

  const IniFile& ini_;
  const SettingsCatalogue& catalogue_;
  QString group_;
};

void LoadDefaults(const SettingsCatalogue& catalogue, Preferences& p) {
  auto d = [&](const char* name) { return SettingDefault(catalogue, name); };
  p.IDs.clear();
  p.Path_audiofiles = d("Path audiofiles");
  p.Path_sleevesfiles = d("Path sleevesfiles");
  p.Shorten_songs = d("Shorten songs");
  p.Maximum_number_of_songs = d("Maximum number of songs");
  p.Minimum_playback_time = d("Minimum playback time");
  p.Maximum_playback_time = d("Maximum playback time");
  p.BPM_order_of_songs = d("BPM order of songs");
  p.BPM_of_first_song = d("BPM of first song");
  p.Combine_beats = d("Combine beats");
  p.Combine_basses = d("Combine basses");
  p.Combine_vocals = d("Combine vocals");
  p.Combine_melodies = d("Combine melodies");
  p.Filter_overlapped_beats = d("Filter overlapped beats");
  p.Minimum_number_of_songs = d("Minimum number of songs").toLongLong();
  p.Unique_songs_before_repeating = d("Unique songs before repeating").toLongLong();
  p.Maximum_BPM_distance = d("Maximum BPM distance").toFloat();
  p.Pitch_reset = d("Pitch reset").toFloat();
  p.Countries.clear();
  p.Genres.clear();
  p.Years.clear();
  p.Record_labels.clear();
  p.Artists.clear();
}

}  // namespace

void LoadPreferences(const DataPaths& paths, const SettingsCatalogue& catalogue, Preferences& p) {
  IniFile ini;
  if (!ini.Load(paths.PreferencesFile())) {
    LoadDefaults(catalogue, p);
    return;
  }
  PreferenceReader r(ini, catalogue);
  r.Group(kSessionGroup);
  p.IDs = r.Text(kIdsKey, {});
  p.Playlist_position = r.Integer(kPlaylistPositionKey, 0);
  r.Group("Directories Windows");
  p.Path_audiofiles = r.Setting("Path_audiofiles");
  p.Path_sleevesfiles = r.Setting("Path_sleevesfiles");
  r.Group("Song length");
  p.Shorten_songs = r.Setting("Shorten_songs");
  r.Group("Playlist length");
  p.Minimum_number_of_songs = r.SettingInteger("Minimum_number_of_songs");
  p.Maximum_number_of_songs = r.Setting("Maximum_number_of_songs");
  p.Minimum_playback_time = r.Setting("Minimum_playback_time");
  p.Maximum_playback_time = r.Setting("Maximum_playback_time");
  r.Group("Speed");
  p.Maximum_BPM_distance = r.SettingFloat("Maximum_BPM_distance");
  p.BPM_order_of_songs = r.Setting("BPM_order_of_songs");
  p.BPM_of_first_song = r.Setting("BPM_of_first_song");
  p.Pitch_reset = r.SettingFloat("Pitch_reset");
  r.Group("Repeating");
  p.Unique_songs_before_repeating = r.SettingInteger("Unique_songs_before_repeating");
  // A filter that is not in the file filters nothing (rather than selecting whichever value
  // happens to sort first).
  r.Group("Filter");
  p.Genres = r.Text("Genres", {});
  p.Artists = r.Text("Artists", {});
  p.Countries = r.Text("Countries", {});
  p.Record_labels = r.Text("Record_labels", {});
  p.Years = r.Text("Years", {});
  r.Group("Transitions");
  p.Filter_overlapped_beats = r.Setting("Filter_overlapped_beats");
  p.Combine_basses = r.Setting("Combine_basses");
  p.Combine_vocals = r.Setting("Combine_vocals");
  p.Combine_melodies = r.Setting("Combine_melodies");
  p.Combine_beats = r.Setting("Combine_beats");
}

std::optional<PreferencesWriter> OpenPreferencesFile(const DataPaths& paths) {
  QDir().mkpath(paths.DataFolder());
  const QString path = paths.PreferencesFile();
  IniFile ini;
  if (!QFileInfo::exists(path)) {
    ini.AddComment("Tunewright preferences");
    ini.AddComment("");
    ini.AddComment("Deleting this file will reset all preferences in Tunewright.");
    ini.AddComment("Manually modifying may cause errors!");
    ini.AddComment("");
    if (!ini.Save(path)) return std::nullopt;
  } else if (!ini.Load(path)) {
    return std::nullopt;
  }
  return PreferencesWriter(path, std::move(ini));
}

int64_t LeadingDigits(const QString& text) {
  int64_t value = 0;
  for (QChar c : text) {
    if (c < '0' || c > '9') break;
    if (value > 100'000'000'000LL) break;  // far beyond any count or duration
    value = value * 10 + (c.unicode() - '0');
  }
  return value;
}

int64_t SongCountLimit(const QString& text) {
  return text == "Infinite" ? 100 : LeadingDigits(text);
}

int64_t MinimumDurationSeconds(const QString& text) {
  return LeadingDigits(text) * (text.contains("hour") ? 3600 : 60);
}

int64_t MaximumDurationSeconds(const QString& text) {
  return text == "Infinite" ? 360000 : MinimumDurationSeconds(text);
}

}  // namespace tw
