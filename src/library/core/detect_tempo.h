#ifndef TUNEWRIGHT_LIBRARY_CORE_DETECT_TEMPO_H_
#define TUNEWRIGHT_LIBRARY_CORE_DETECT_TEMPO_H_

#include <QString>

namespace tw::library {

// What DetectTempo returns when the file cannot be decoded or shows no beat: a tempo of zero
// in the column's format, which no song has and the record editor replaces once markers are
// placed.
inline constexpr char kUnknownTempoText[] = "000.00";

// Whole seconds of a song that the tempo is measured on.
struct TempoWindow {
  int start_seconds = 0;
  int end_seconds = 0;
};

// The analysis window for a song of `length_seconds`: 60-90 s for songs over 90 s, 30-60 s
// over 60 s, 0-30 s over 30 s, else the whole song rounded to the nearest second (half away
// from zero).
TempoWindow TempoAnalysisWindow(float length_seconds);

// Folds a tempo once into the mixing range: halved above 160, doubled below 70.
float FoldTempo(float bpm);

// Two decimals, "." as the point, padded with "0" on the left to six characters and cut to
// six: 95.3 gives "095.30".
QString FormatTempo(float bpm);

// The tempo of the audio file at `absolute_path`, folded and formatted as above; decodes at
// most the 30 seconds of its analysis window. kUnknownTempoText when the file cannot be
// decoded (with the reason in `error`, when given) or holds no detectable beat (error left
// empty). Keeps no state: safe on any thread, one call at a time per thread.
QString DetectTempo(const QString& absolute_path, QString* error = nullptr);

}  // namespace tw::library

#endif  // TUNEWRIGHT_LIBRARY_CORE_DETECT_TEMPO_H_
