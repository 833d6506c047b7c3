#ifndef TUNEWRIGHT_PLAYLIST_SONG_PLAY_TIME_H_
#define TUNEWRIGHT_PLAYLIST_SONG_PLAY_TIME_H_

#include <cstdint>
#include <functional>

#include <QString>

namespace tw {

// The decoded length of an audio file in seconds; negative when it cannot be opened.
using SongLengthProbe = std::function<double(const QString& path)>;

// Measures the file with the audio engine's decoder.
SongLengthProbe EngineSongLength();

// Where a song stands in the playlist, for its running time.
enum SongPosition { kFirstSong = 2, kMiddleSong = 3, kLastSong = 4 };

// The part of a song that the next song does not overlap, in seconds. The last song runs to
// the end of its file (measured through `song_length`, so a missing file gives a negative
// time); any other position than the three gives 0.
float SongPlayTime(int position, float introend, float breakend, float breakloopstart,
                   float breakloopend, int64_t breaklooprepeat, const QString& path,
                   const SongLengthProbe& song_length);

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_SONG_PLAY_TIME_H_
