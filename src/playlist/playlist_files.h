#ifndef TUNEWRIGHT_PLAYLIST_PLAYLIST_FILES_H_
#define TUNEWRIGHT_PLAYLIST_PLAYLIST_FILES_H_

#include <QString>

#include "playlist/playlist_entry.h"

namespace tw {

struct PlaylistServices;

// The PlaylistText of `playlist`, rebuilt from its entries: an entry shown without pitch
// ("  0.00%") carries the tempo reset mark, a shortened one the "S" on its time.
QString BuildPlaylistText(const Playlist& playlist);

// `path` with the platform's separator: stored names may hold "\" or "/".
QString NativePath(const QString& path);

// A playlist file's first line is accepted when it holds "|" and "," and its first id ends
// with the tempo reset mark.
bool IsPlaylistFileLine(const QString& line);

// The save command: asks for a ".mix" file below `playlists` and writes the playlist's text
// as its only line, replacing the file as a whole.
void SavePlaylistFile(PlaylistServices& services);

// The load command: asks for a ".mix" file, loads its first line as a new playlist and stores
// it as the session's playlist.
void LoadPlaylistFile(PlaylistServices& services);

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_PLAYLIST_FILES_H_
