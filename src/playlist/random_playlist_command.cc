#include "playlist/random_playlist_command.h"

#include "data/database.h"
#include "data/preferences.h"
#include "playlist/load_playlist.h"
#include "playlist/playlist_services.h"

namespace tw {

RandomPlaylist CheckedRandomPlaylist(Database& songs, const Preferences& preferences,
                                     RandomSource& random, const SongLengthProbe& song_length,
                                     std::chrono::milliseconds budget) {
  if (songs.LookupInteger("SELECT COUNT(id) FROM music") == 0) {
    return {{},
            "Playlist cannot be created because the database is empty.First add some songs to "
            "the database and try again."};
  }
  if (preferences.Path_audiofiles.isEmpty()) {
    return {{}, "No music directory selected in preferences."};
  }
  QString text = GenerateRandomPlaylist(songs, preferences, random, song_length, budget);
  if (text.isEmpty()) {
    return {{}, "Playlist could not be generated. Change preferences and try again."};
  }
  return {text, {}};
}

void CreateRandomPlaylist(PlaylistServices& services) {
  LoadPreferences(services.paths, services.catalogue, services.preferences);
  const RandomPlaylist result =
      CheckedRandomPlaylist(services.songs, services.preferences, services.random,
                            services.song_length, services.generation_budget);
  if (result.text.isEmpty()) {
    services.dialogs.Message(kRandomPlaylistErrorTitle, result.refusal, DialogIcon::kWarning);
    return;
  }
  // Only a playlist that is now playing becomes the one the next start restores.
  if (LoadPlaylist(services, result.text, false)) {
    StoreSessionPlaylist(services.paths, result.text);
  }
}

}  // namespace tw
