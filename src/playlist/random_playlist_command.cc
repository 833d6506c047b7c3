#include "playlist/random_playlist_command.h"

#include "playlist/load_playlist.h"
#include "playlist/playlist_services.h"
#include "playlist/random_generator.h"

namespace tw {
namespace {

constexpr const char* kTitle = "Playlist loading error";

}  // namespace

void CreateRandomPlaylist(PlaylistServices& services) {
  LoadPreferences(services.paths, services.catalogue, services.preferences);
  if (services.songs.LookupInteger("SELECT COUNT(id) FROM music") == 0) {
    services.dialogs.Message(kTitle,
                             "Playlist cannot be created because the database is empty.First "
                             "add some songs to the database and try again.",
                             DialogIcon::kWarning);
    return;
  }
  if (services.preferences.Path_audiofiles.isEmpty()) {
    services.dialogs.Message(kTitle, "No music directory selected in preferences.",
                             DialogIcon::kWarning);
    return;
  }
  const QString text = GenerateRandomPlaylist(services);
  if (text.isEmpty()) {
    services.dialogs.Message(kTitle,
                             "Playlist could not be generated. Change preferences and try again.",
                             DialogIcon::kWarning);
    return;
  }
  LoadPlaylist(services, text, false);
  StoreSessionPlaylist(services.paths, text);
}

}  // namespace tw
