#ifndef TUNEWRIGHT_DATA_SETTINGS_CATALOGUE_H_
#define TUNEWRIGHT_DATA_SETTINGS_CATALOGUE_H_

#include <vector>

#include <QString>

namespace tw {

class Database;

// How a preference is chosen.
enum class SettingKind {
  kOneOf = 0,   // exactly one of the offered values
  kManyOf = 1,  // any number of the offered values
  kFolder = 2,  // a folder path
};

// One user preference, declared once: the INI file, the defaults and the preferences window
// all follow from it.
struct SettingDef {
  QString group;  // set on the first entry of a group only
  QString name;   // display name, unique
  SettingKind kind = SettingKind::kOneOf;
  QString values;  // offered values separated by ","
  QString default_value;
  QString help;
};

using SettingsCatalogue = std::vector<SettingDef>;

// The 22 preferences, in their order; the filter entries and the first-song tempo offer what
// the song table holds now.
SettingsCatalogue BuildSettingsCatalogue(Database& songs);

// The INI key of an entry: its name with "_" for each blank.
QString SettingKey(const SettingDef& entry);
// The INI group of the entry at `index`: that of the nearest entry at or before it that has
// one, with "Filter..." stored as "Filter" and "Directories" as "Directories Windows".
QString SettingGroup(const SettingsCatalogue& catalogue, size_t index);

// The default of the entry with this display name; empty when there is none.
QString SettingDefault(const SettingsCatalogue& catalogue, const QString& name);

}  // namespace tw

#endif  // TUNEWRIGHT_DATA_SETTINGS_CATALOGUE_H_
