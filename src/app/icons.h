#ifndef TUNEWRIGHT_APP_ICONS_H_
#define TUNEWRIGHT_APP_ICONS_H_

#include <QIcon>
#include <QPixmap>

namespace tw {

enum class IconId {
  kMenu,
  kPrevious,
  kPlay,
  kPause,
  kStop,
  kNext,
  kDynamicsOn,
  kDynamicsOff,
  kVolume,
  kFolder,
  kLoad,
  kSave,
  kExport,
  kRandom,
  kCustom,
  kLibrary,
  kDatabase,
  kPreferences,
  kHelp,
  kAbout,
  kExit,
  kInfo,
};

// The program's icons, drawn by the program itself in two variants: dark glyphs for light
// window backgrounds and light glyphs for dark ones.
QPixmap IconPixmap(IconId id, bool dark_background, int size);
QIcon MakeIcon(IconId id, bool dark_background);

}  // namespace tw

#endif  // TUNEWRIGHT_APP_ICONS_H_
