#ifndef TUNEWRIGHT_PLAYLIST_RANDOM_GENERATOR_H_
#define TUNEWRIGHT_PLAYLIST_RANDOM_GENERATOR_H_

#include <chrono>

#include <QString>

#include "playlist/song_play_time.h"

namespace tw {

class Database;
class RandomSource;
struct Preferences;
struct PlaylistServices;

// Failed attempts are retried from scratch until this much time has passed; a running attempt
// is never cut short.
inline constexpr std::chrono::milliseconds kGenerationBudget{750};

// The smallest and the largest `bpm` of the song table (0 when it is empty).
float LowestBpm(Database& songs);
float HighestBpm(Database& songs);

// Picks songs at random, one query per pick, each within the tempo window of the moving
// anchor, obeying the filters, the repeat exclusion and the element combination rules, until
// the song count or the maximum time is reached; then checks the minimum count and both time
// limits. Returns the PlaylistText of the first attempt that passes, or the empty text when
// none did within `budget`. The last song's running time needs its file's length, which
// `song_length` measures.
QString GenerateRandomPlaylist(Database& songs, const Preferences& preferences,
                               RandomSource& random, const SongLengthProbe& song_length,
                               std::chrono::milliseconds budget = kGenerationBudget);

// The same with freshly reloaded preferences.
QString GenerateRandomPlaylist(PlaylistServices& services);

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_RANDOM_GENERATOR_H_
