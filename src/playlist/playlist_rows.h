#ifndef TUNEWRIGHT_PLAYLIST_PLAYLIST_ROWS_H_
#define TUNEWRIGHT_PLAYLIST_PLAYLIST_ROWS_H_

#include <vector>

#include <QString>

#include "playlist/playlist_entry.h"

namespace tw {

// "%ii:%ss", or "%hh:%ii:%ss" with hours, of the seconds rounded half to even.
QString FormatDuration(double seconds, bool with_hours);

// One row of the main window's playlist list, as it is shown.
struct PlaylistRow {
  QString track;             // "007"
  QString song;              // "ARTIST - TITLE", or the file name
  QString play_time;         // "04:05"
  QString incremental_time;  // "00:12:34"
  QString original_bpm;      // "095.50"
  QString playback_bpm;
  QString pitch;

  bool operator==(const PlaylistRow&) const = default;
};

std::vector<PlaylistRow> PlaylistRows(const Playlist& playlist);

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_PLAYLIST_ROWS_H_
