#ifndef TUNEWRIGHT_PLAYLIST_PLAYLIST_SINK_H_
#define TUNEWRIGHT_PLAYLIST_PLAYLIST_SINK_H_

#include <vector>

#include "playlist/playlist_entry.h"
#include "playlist/playlist_rows.h"

namespace tw {

// What loading a playlist does to the main window and the mix scheduler, in the order
// LoadPlaylist calls it. The windows and the scheduler implement it; the tests record it.
class PlaylistSink {
 public:
  virtual ~PlaylistSink() = default;

  // Takes both playback slots' channels out of the main mixer and waits until no scheduler
  // callback or worker uses the playlist; called just before the playlist is replaced.
  virtual void ReleaseSlots() = 0;
  // Clears the main list and shows these rows, in order.
  virtual void ShowRows(const std::vector<PlaylistRow>& rows) = 0;
  // Copies the first entry into the current slot, sets up the position slider and shows it as
  // now playing.
  virtual void ShowFirstSong(const PlaylistEntry& entry) = 0;
  // Stops the transport and sets the main mixer's position to 0.
  virtual void StopPlayback() = 0;
  // Selects the row, scrolls it to the top, focuses the list, and handles the selection
  // change as if the user had made it: the row's song is cued without being played.
  virtual void SelectAndCueRow(int row) = 0;
};

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_PLAYLIST_SINK_H_
