#include "playlist/load_playlist.h"

#include <utility>

#include "playlist/playlist_parser.h"
#include "playlist/playlist_rows.h"

namespace tw {

bool LoadPlaylist(PlaylistServices& services, const QString& text, bool restore) {
  if (text.isEmpty()) return false;
  // Parsed aside, so that a text without a single known song leaves the old playlist and the
  // rows that show it untouched.
  Playlist parsed;
  if (!ParsePlaylistText(services.songs, text, parsed)) return false;

  Preferences& prefs = services.preferences;
  if (!restore) {
    LoadPreferences(services.paths, services.catalogue, prefs);
    prefs.Playlist_position = 0;
  }
  // A stored row beyond the end of this playlist (the session text was edited, or songs were
  // deleted since) would cue nothing: start at the top instead.
  if (prefs.Playlist_position < 0 || prefs.Playlist_position >= parsed.size()) {
    prefs.Playlist_position = 0;
  }

  services.sink.ReleaseSlots();
  services.playlist = std::move(parsed);
  services.sink.ShowRows(PlaylistRows(services.playlist));
  services.playlist.current = 0;
  services.sink.ShowFirstSong(services.playlist.entries.front());
  services.sink.StopPlayback();
  services.sink.SelectAndCueRow(static_cast<int>(prefs.Playlist_position));
  return true;
}

bool StoreSessionPlaylist(const DataPaths& paths, const QString& text) {
  std::optional<PreferencesWriter> writer = OpenPreferencesFile(paths);
  if (!writer) return false;
  writer->SelectGroup(kSessionGroup);
  writer->WriteText(kIdsKey, text);
  return writer->Close();
}

}  // namespace tw
