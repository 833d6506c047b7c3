#include "playlist/beat_grid.h"

#include <QStringList>

#include "data/marker_text.h"

namespace tw {

float SectionLength(float start, float end, float loop_start, float loop_end, int64_t repeat) {
  float length = end - start;
  if (loop_start + loop_end > 0) length += static_cast<float>(repeat) * (loop_end - loop_start);
  return length;
}

QString NormaliseBeatList(const QString& beat_list, float start, float end,
                          const SectionLoop& loop) {
  float span = end - start;
  if (loop.start > 0 && loop.end > 0) {
    span += static_cast<float>(loop.repeat) * (loop.end - loop.start);
  }
  const float interval = span / kSectionBeats;

  QString text = beat_list;
  // A CR LF pair (real or written as "\r\n") ends one line, not two: read as two, it would
  // push every later beat one line down and put a grid position between the user's beats.
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1String("\\r\\n"), QLatin1String("\n"));
  text.replace('\r', '\n');
  text.replace(QLatin1String("\\r"), QLatin1String("\n"));
  text.replace(QLatin1String("\\n"), QLatin1String("\n"));
  if (!text.isEmpty() && MarkerSeconds(text.left(text.indexOf(QChar('\n')))) > start + 0.2f) {
    text.prepend(MarkerText(start, 4) + '\n');
  }

  const QStringList lines = text.isEmpty() ? QStringList() : text.split('\n');
  QString grid;
  for (int k = 0; k < kSectionBeats; ++k) {
    const QString line = k < lines.size() ? lines.at(k).trimmed() : QString();
    const float beat =
        line.isEmpty() ? start + static_cast<float>(k) * interval : MarkerSeconds(line);
    grid += BareNumber(beat) + '\n';
  }
  return grid;
}

}  // namespace tw
