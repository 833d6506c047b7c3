#ifndef TUNEWRIGHT_PLAYLIST_PLAYLIST_ENTRY_H_
#define TUNEWRIGHT_PLAYLIST_PLAYLIST_ENTRY_H_

#include <cstdint>
#include <vector>

#include <QString>

namespace tw {

// Rate at which a song plays at its own tempo.
inline constexpr int64_t kNativeFrequency = 44100;

// One song of the playlist: its record as the mix needs it, markers in seconds, 32-line beat
// grids, and the tempo it is played at. The playback slots copy entries.
struct PlaylistEntry {
  int64_t channel = 0;  // set in the playback slots only
  int64_t track = 0;    // position in the playlist, from 1
  QString id;
  QString filename;  // relative to the music folder
  QString sleeve;
  QString artist;
  QString title;
  QString year;
  QString label;
  QString catno;
  QString country;
  float playtime = 0;  // running time in seconds, from the time list
  float bpm = 0;
  float playbackbpm = 0;
  QString pitch;
  QString introbeatlist;
  int8_t introfade = 0;
  int8_t introbeats = 0;
  float introprefix = 0;
  float introstart = 0;
  float introend = 0;
  float introloopstart = 0;
  float introloopend = 0;
  int64_t introlooprepeat = 0;
  QString breakbeatlist;
  int8_t breakfade = 0;
  int8_t breakbeats = 0;
  float breakstart = 0;
  float breakend = 0;
  float breakcontinue = 0;
  float breakloopstart = 0;
  float breakloopend = 0;
  int64_t breaklooprepeat = 0;
  float breakmute = 0;
  float skipstart = 0;
  float skipend = 0;
  int64_t frequency = kNativeFrequency;  // playback sample rate in Hz
  int8_t shortened = 0;
};

// The ordered songs of the loaded playlist and its current element. Replaced as a whole by
// LoadPlaylist only.
struct Playlist {
  std::vector<PlaylistEntry> entries;
  int current = -1;  // index into `entries`; -1 when empty

  bool empty() const { return entries.empty(); }
  int size() const { return static_cast<int>(entries.size()); }
};

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_PLAYLIST_ENTRY_H_
