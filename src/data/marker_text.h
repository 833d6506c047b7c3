#ifndef TUNEWRIGHT_DATA_MARKER_TEXT_H_
#define TUNEWRIGHT_DATA_MARKER_TEXT_H_

#include <vector>

#include <QString>
#include <QStringView>

namespace tw {

// The one writing rule for marker times: "mm:ss.dddd" with the decimals truncated, never
// rounded (83.45f, which is 83.4499969..., is "01:23.4499"). Minutes take as many digits as
// they need beyond two, and a negative time is written with a leading "-", so every float a
// record can hold survives a write and a read.
QString MarkerText(float seconds, int decimals);

// The one reading rule: "01:23.4499", "01.23.4499", "83.4499", " 02:08 " and "" (= 0, unset).
float MarkerSeconds(QStringView text);

// A section's beats as stored: entries ended by LF, CR, or the two-character sequences "\n"
// and "\r"; empty lines are not entries.
std::vector<float> ParseBeatList(QStringView text);

// The number of entries of a stored beat list.
int BeatListCount(QStringView text);

// `bpm` as written into statements: 10 decimals, trailing zeros and a trailing "." removed.
QString BareNumber(double value);

}  // namespace tw

#endif  // TUNEWRIGHT_DATA_MARKER_TEXT_H_
