#ifndef TUNEWRIGHT_PLAYLIST_PLAYLIST_SERVICES_H_
#define TUNEWRIGHT_PLAYLIST_PLAYLIST_SERVICES_H_

#include <chrono>

#include "data/data_paths.h"
#include "data/database.h"
#include "data/dialogs.h"
#include "data/preferences.h"
#include "data/settings_catalogue.h"
#include "playlist/playlist_entry.h"
#include "playlist/playlist_sink.h"
#include "playlist/random_generator.h"
#include "playlist/random_source.h"
#include "playlist/song_play_time.h"

namespace tw {

// What the playlist commands work with, all owned elsewhere (by the application context in
// the program, by the fixture in the tests).
struct PlaylistServices {
  const DataPaths& paths;
  Dialogs& dialogs;
  Database& songs;
  const SettingsCatalogue& catalogue;
  Preferences& preferences;
  Playlist& playlist;
  PlaylistSink& sink;
  RandomSource& random;
  SongLengthProbe song_length;
  // How long failed generation attempts are retried; the tests shorten it.
  std::chrono::milliseconds generation_budget = kGenerationBudget;
};

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_PLAYLIST_SERVICES_H_
