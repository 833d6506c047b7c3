#ifndef TUNEWRIGHT_APP_CORE_PREFERENCES_FORM_H_
#define TUNEWRIGHT_APP_CORE_PREFERENCES_FORM_H_

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "data/settings_catalogue.h"

namespace tw {

class DataPaths;
class Database;

// What the preferences window shows for each catalogue entry, in catalogue order: the text of
// a one-of or folder entry, or the stored text of a many-of entry (values joined by "|").
using PreferenceTexts = std::vector<QString>;

// The stored text of every entry (the entry's default where a key is missing); nothing when
// the file cannot be read, so that the window keeps what it was built with.
std::optional<PreferenceTexts> ReadPreferenceTexts(const DataPaths& paths,
                                                   const SettingsCatalogue& catalogue);

// The values a many-of list offers: its catalogue values, without "0" for the years.
QStringList OfferedValues(const SettingDef& entry);
// The number of values in a stored many-of text ("" counts 0).
int StoredValueCount(const QString& stored);

// The playlist-length check of the entries 3 to 6 (minimum and maximum number of songs,
// minimum and maximum playback time); the message to show, or empty when the limits hold.
QString CheckPlaylistLimits(const PreferenceTexts& texts);

// Writes every entry to its group and key. When the music folder changed, the file catalogue
// is emptied, since its rows name files of the old folder. False (and nothing changed) when
// the file cannot be opened or written.
bool WritePreferenceTexts(const DataPaths& paths, const SettingsCatalogue& catalogue,
                          const PreferenceTexts& texts, const QString& current_music_folder,
                          Database& file_catalogue);

}  // namespace tw

#endif  // TUNEWRIGHT_APP_CORE_PREFERENCES_FORM_H_
