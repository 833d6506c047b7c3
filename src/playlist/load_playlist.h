#ifndef TUNEWRIGHT_PLAYLIST_LOAD_PLAYLIST_H_
#define TUNEWRIGHT_PLAYLIST_LOAD_PLAYLIST_H_

#include <QString>

#include "playlist/playlist_services.h"

namespace tw {

// Makes `text` the playlist: parses it, shows its rows, and cues the row of the stored
// `Playlist position` (`restore`, at start-up) or row 0 (every other caller, which also
// reloads the preferences). A text that yields no song changes nothing and returns false:
// the old playlist, its rows and its playback stay.
bool LoadPlaylist(PlaylistServices& services, const QString& text, bool restore);

// Writes `text` under "Session" / `IDs`, so that the next start restores it. False when the
// preferences file cannot be opened or written.
bool StoreSessionPlaylist(const DataPaths& paths, const QString& text);

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_LOAD_PLAYLIST_H_
