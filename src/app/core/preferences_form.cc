#include "app/core/preferences_form.h"

#include "data/data_paths.h"
#include "data/database.h"
#include "data/ini_file.h"
#include "data/preferences.h"

namespace tw {

std::optional<PreferenceTexts> ReadPreferenceTexts(const DataPaths& paths,
                                                   const SettingsCatalogue& catalogue) {
  IniFile ini;
  if (!ini.Load(paths.PreferencesFile())) return std::nullopt;
  PreferenceTexts texts;
  for (size_t i = 0; i < catalogue.size(); ++i) {
    texts.push_back(ini.Value(SettingGroup(catalogue, i), SettingKey(catalogue[i]),
                              catalogue[i].default_value));
  }
  return texts;
}

QStringList OfferedValues(const SettingDef& entry) {
  if (entry.values.isEmpty()) return {};
  QStringList values = entry.values.split(',');
  if (entry.name == "Years") values.removeAll("0");
  return values;
}

int StoredValueCount(const QString& stored) {
  return stored.trimmed().isEmpty() ? 0 : static_cast<int>(stored.split('|').size());
}

QString CheckPlaylistLimits(const PreferenceTexts& texts) {
  if (texts.size() < 6) return {};
  const int64_t min_songs = LeadingDigits(texts[2]);
  const int64_t max_songs = SongCountLimit(texts[3]);
  const int64_t min_time = MinimumDurationSeconds(texts[4]);
  const int64_t max_time = MaximumDurationSeconds(texts[5]);
  if (min_songs > max_songs) return "Maximum songs must be higher than minimum songs.";
  if (min_time > max_time) {
    return "Maximum playback time must be higher than minimum playback time.";
  }
  return {};
}

bool WritePreferenceTexts(const DataPaths& paths, const SettingsCatalogue& catalogue,
                          const PreferenceTexts& texts, const QString& current_music_folder,
                          Database& file_catalogue) {
  auto writer = OpenPreferencesFile(paths);
  if (!writer) return false;
  for (size_t i = 0; i < catalogue.size() && i < texts.size(); ++i) {
    writer->SelectGroup(SettingGroup(catalogue, i));
    writer->WriteText(SettingKey(catalogue[i]), texts[i]);
  }
  if (!writer->Close()) return false;
  if (!texts.empty() && texts[0] != current_music_folder)
    file_catalogue.Execute("DELETE FROM files");
  return true;
}

}  // namespace tw
