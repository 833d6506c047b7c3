#ifndef TUNEWRIGHT_APP_CORE_TRANSPORT_RULES_H_
#define TUNEWRIGHT_APP_CORE_TRANSPORT_RULES_H_

#include <array>
#include <cstdint>

#include <QString>

#include "playlist/playlist_entry.h"

namespace tw {

// The now-playing panel's three lines (shown in upper case) and whether a flag may show.
struct NowPlayingText {
  std::array<QString, 3> lines;
  bool flag_allowed = false;
};
NowPlayingText NowPlayingLines(const PlaylistEntry& song);

// The position slider's maximum in milliseconds: the part of the current song `a` that plays
// alone, from its start (first song) or intro end up to where the next transition begins.
// `next_introprefix` is the next song's prestart (0 when there is none).
int PositionSliderMaximum(const PlaylistEntry& a, float next_introprefix, bool last_entry);

// The slider value in milliseconds for the stream at `stream_seconds`, or -1 when it lies
// before the slider's range.
int SliderValueFor(const PlaylistEntry& a, double stream_seconds);

// The stream position in seconds a slider value seeks to.
double SeekSeconds(const PlaylistEntry& a, int slider_value, int slider_maximum);

// The fade slider's length in whole seconds for the transition now starting.
int TransitionSeconds(const PlaylistEntry& a, const PlaylistEntry& b, bool fading);

// The heights of the 16 bars of the level meter, from the 1024 spectrum magnitudes.
std::array<int, 16> SpectrumBars(const std::array<float, 1024>& magnitudes, int height);

}  // namespace tw

#endif  // TUNEWRIGHT_APP_CORE_TRANSPORT_RULES_H_
