#ifndef TUNEWRIGHT_APP_CORE_APP_CONTEXT_H_
#define TUNEWRIGHT_APP_CORE_APP_CONTEXT_H_

#include <QString>

#include "audio/audio_system.h"
#include "audio/mix_host.h"
#include "audio/mix_scheduler.h"
#include "data/data_paths.h"
#include "data/databases.h"
#include "data/dialogs.h"
#include "data/preferences.h"
#include "data/settings_catalogue.h"
#include "playlist/playlist_entry.h"

namespace tw {

// The program-wide state of one run, created at start-up and passed to whoever needs it;
// nothing else in the program is global.
struct AppContext {
  AppContext(const QString& root, Dialogs& dialogs_in) : paths(root), dialogs(dialogs_in) {}
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  DataPaths paths;
  Dialogs& dialogs;
  Databases databases;
  SettingsCatalogue catalogue;
  Preferences preferences;
  // The engine and the two mixers; started by start-up only in runs that play sound.
  AudioSystem audio;
  // The loaded playlist, and the scheduler that plays it in MainMixer.
  Playlist playlist;
  ForwardingMixHost mix_host;
  MixScheduler scheduler{audio.engine(), playlist, mix_host};
  // The family of the registered interface font (empty in runs without windows).
  QString interface_font_family;
  // Set once start-up has restored the session: from then on a change of the selected
  // playlist row cues that song.
  bool session_cue = false;
};

}  // namespace tw

#endif  // TUNEWRIGHT_APP_CORE_APP_CONTEXT_H_
