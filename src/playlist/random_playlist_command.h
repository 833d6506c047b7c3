#ifndef TUNEWRIGHT_PLAYLIST_RANDOM_PLAYLIST_COMMAND_H_
#define TUNEWRIGHT_PLAYLIST_RANDOM_PLAYLIST_COMMAND_H_

#include <chrono>

#include <QString>

#include "playlist/random_generator.h"
#include "playlist/song_play_time.h"

namespace tw {

class Database;
class RandomSource;
struct Preferences;
struct PlaylistServices;

// The title of every refusal of the command.
inline constexpr const char* kRandomPlaylistErrorTitle = "Playlist loading error";

// A generated PlaylistText, or the warning that says why there is none (then `text` is empty).
struct RandomPlaylist {
  QString text;
  QString refusal;
};

// The command's checks (a library with songs, a music folder) and the generation, shared by
// the window command and the command-line tool. `preferences` are used as they stand.
RandomPlaylist CheckedRandomPlaylist(Database& songs, const Preferences& preferences,
                                     RandomSource& random, const SongLengthProbe& song_length,
                                     std::chrono::milliseconds budget = kGenerationBudget);

// The "Create random playlist" command: checks the library and the music folder, generates
// a playlist, loads it as a new playlist and stores it as the session's playlist. Every
// refusal is a warning under "Playlist loading error" and changes nothing.
void CreateRandomPlaylist(PlaylistServices& services);

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_RANDOM_PLAYLIST_COMMAND_H_
