#include "playlist/playlist_rows.h"

#include <cmath>

namespace tw {
namespace {

QString TwoDigits(long long value) { return QString::number(value).rightJustified(2, '0'); }

QString Tempo(float bpm) { return QString::number(bpm, 'f', 2).rightJustified(6, '0'); }

}  // namespace

QString FormatDuration(double seconds, bool with_hours) {
  // A time from a hand-edited file can be any number; one beyond what a whole number of
  // seconds holds would make the rounding below meaningless, so it shows as no time at all.
  constexpr double kLongest = 1e15;
  if (!std::isfinite(seconds) || std::fabs(seconds) > kLongest) seconds = 0;
  // Rounds half to even in the default rounding mode.
  long long total = std::llrint(seconds);
  QString sign;
  if (total < 0) {
    sign = "-";
    total = -total;
  }
  if (!with_hours) return sign + TwoDigits(total / 60) + ':' + TwoDigits(total % 60);
  return sign + TwoDigits(total / 3600) + ':' + TwoDigits(total / 60 % 60) + ':' +
         TwoDigits(total % 60);
}

std::vector<PlaylistRow> PlaylistRows(const Playlist& playlist) {
  std::vector<PlaylistRow> rows;
  rows.reserve(playlist.entries.size());
  double running = 0;
  for (const PlaylistEntry& e : playlist.entries) {
    PlaylistRow row;
    row.track = QString::number(e.track).rightJustified(3, '0', true);
    row.song = e.artist.isEmpty() || e.title.isEmpty() ? e.filename
                                                       : (e.artist + " - " + e.title).toUpper();
    row.play_time = FormatDuration(e.playtime, false);
    running = std::nearbyint(running + e.playtime);
    row.incremental_time = FormatDuration(running, true);
    row.original_bpm = Tempo(e.bpm);
    row.playback_bpm = Tempo(e.playbackbpm);
    row.pitch = e.pitch;
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace tw
