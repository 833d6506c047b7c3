#ifndef TUNEWRIGHT_PLAYLIST_BEAT_GRID_H_
#define TUNEWRIGHT_PLAYLIST_BEAT_GRID_H_

#include <cstdint>

#include <QString>

namespace tw {

// Every intro and break spans this many beats, loop repeats included.
inline constexpr int kSectionBeats = 32;

// A section's length with its loop repeats: end - start, plus repeat x (loop end - loop start)
// when the section has a loop (loop start + loop end above 0).
float SectionLength(float start, float end, float loop_start, float loop_end, int64_t repeat);

// The loop of the section whose beats are being completed.
struct SectionLoop {
  float start = 0;
  float end = 0;
  int64_t repeat = 0;
};

// Completes a stored beat list to exactly 32 LF-ended lines: the user's beats first (after the
// section start when the first beat lies more than 0.2 s after it), then the regular grid of
// the section, loop repeats included, for the lines the user did not mark.
QString NormaliseBeatList(const QString& beat_list, float start, float end,
                          const SectionLoop& loop);

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_BEAT_GRID_H_
