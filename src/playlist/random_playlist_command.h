#ifndef TUNEWRIGHT_PLAYLIST_RANDOM_PLAYLIST_COMMAND_H_
#define TUNEWRIGHT_PLAYLIST_RANDOM_PLAYLIST_COMMAND_H_

namespace tw {

struct PlaylistServices;

// The "Create random playlist" command: checks the library and the music folder, generates
// a playlist, loads it as a new playlist and stores it as the session's playlist. Every
// refusal is a warning under "Playlist loading error" and changes nothing.
void CreateRandomPlaylist(PlaylistServices& services);

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_RANDOM_PLAYLIST_COMMAND_H_
