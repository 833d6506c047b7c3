#ifndef TUNEWRIGHT_PLAYLIST_PLAYLIST_PARSER_H_
#define TUNEWRIGHT_PLAYLIST_PLAYLIST_PARSER_H_

#include <QString>

#include "playlist/playlist_entry.h"

namespace tw {

class Database;

// The marks of a PlaylistText: "R" on an id where the tempo anchor moves, "S" on the time of
// a song played shortened.
inline constexpr QChar kTempoResetMark = 'R';
inline constexpr QChar kShortenedMark = 'S';
// The pitch of a song played at the tempo it is shown at, and of every tempo anchor.
inline constexpr const char* kNoPitch = "  0.00%";

// One entry of the time list: the number it begins with (0 when none) and its "S" mark.
struct TimeEntry {
  float seconds = 0;
  bool shortened = false;
};
TimeEntry ParseTimeEntry(const QString& text);

// The deviation shown for a song of tempo `bpm` played at `playback_bpm`: " -1.50%" slower,
// "+1.50%" faster or equal.
QString PitchText(float playback_bpm, float bpm);

// Turns a PlaylistText into `playlist`, reading every song's record from `songs`. Songs are
// taken in order up to the first one that is missing or whose id is not a decimal number;
// the rest of the text is ignored. True when at least one song was found. `playlist` is
// filled from scratch; its current element is the first entry.
bool ParsePlaylistText(Database& songs, const QString& text, Playlist& playlist);

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_PLAYLIST_PARSER_H_
