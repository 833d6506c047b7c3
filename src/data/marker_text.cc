#include "data/marker_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include <QList>

namespace tw {
namespace {

// Reads the longest prefix of `text` that forms a decimal number, as strtod does; an empty or
// non-numeric text reads as 0.
double LeadingNumber(QStringView text) {
  const std::string latin = text.toLatin1().toStdString();
  const char* begin = latin.c_str();
  // strtod would also accept "inf", "nan" and hexadecimal forms; a marker never holds them.
  size_t i = 0;
  if (i < latin.size() && (latin[i] == '+' || latin[i] == '-')) ++i;
  if (i >= latin.size() || !(std::isdigit(static_cast<unsigned char>(latin[i])) || latin[i] == '.'))
    return 0.0;
  return std::strtod(begin, nullptr);
}

QString StripTrailingZeros(QString text) {
  if (text.contains('.')) {
    while (text.endsWith('0')) text.chop(1);
    if (text.endsWith('.')) text.chop(1);
  }
  return text;
}

}  // namespace

QString MarkerText(float seconds, int decimals) {
  if (!std::isfinite(seconds)) seconds = 0.0f;
  if (seconds < 0.0f) return "-" + MarkerText(-seconds, decimals);

  const double x = seconds;
  const QString written = StripTrailingZeros(QString::number(x, 'f', 10));
  const qsizetype dot = written.indexOf('.');
  QString digits = dot >= 0 ? written.mid(dot + 1, 4) : QStringLiteral("0");
  digits = digits.leftJustified(4, '0');

  const double whole = x - digits.toInt() / 10000.0;
  // Rounded to whole seconds before splitting, so a value a hair below a full minute (left by
  // the subtraction above) becomes the next minute rather than "xx:60".
  const auto total = static_cast<long long>(std::nearbyint(whole));
  const long long minutes = total / 60;
  const long long secs = total % 60;

  QString fraction =
      decimals <= 4 ? digits.left(std::max(decimals, 0)) : digits.leftJustified(decimals, '0');
  return QString::number(minutes).rightJustified(2, '0') + ':' +
         QString::number(secs).rightJustified(2, '0') + '.' + fraction;
}

float MarkerSeconds(QStringView input) {
  QString text = input.trimmed().toString();
  double sign = 1.0;
  if (text.startsWith('-')) {
    sign = -1.0;
    text = text.mid(1).trimmed();
  }
  // "mm:ss.d", "mm.ss.d" (two dots), or plain seconds "ss.d" / "ss".
  qsizetype split = text.indexOf(':');
  if (split < 0 && text.count('.') >= 2) split = text.indexOf('.');
  double value;
  if (split < 0) {
    value = LeadingNumber(text);
  } else {
    QString seconds_part = text.mid(split + 1);
    seconds_part.replace(':', '.');
    value = LeadingNumber(QStringView(text).left(split)) * 60.0 + LeadingNumber(seconds_part);
  }
  return static_cast<float>(sign * value);
}

namespace {

template <typename Fn>
void ForEachBeatEntry(QStringView text, Fn fn) {
  QString normalised = text.toString();
  normalised.replace(QLatin1String("\\n"), QLatin1String("\n"));
  normalised.replace(QLatin1String("\\r"), QLatin1String("\n"));
  normalised.replace('\r', '\n');
  for (QStringView entry : QStringView(normalised).split('\n')) {
    entry = entry.trimmed();
    if (!entry.isEmpty()) fn(entry);
  }
}

}  // namespace

std::vector<float> ParseBeatList(QStringView text) {
  std::vector<float> beats;
  ForEachBeatEntry(text, [&](QStringView entry) { beats.push_back(MarkerSeconds(entry)); });
  return beats;
}

int BeatListCount(QStringView text) {
  int count = 0;
  ForEachBeatEntry(text, [&](QStringView) { ++count; });
  return count;
}

QString BareNumber(double value) {
  if (!std::isfinite(value)) value = 0.0;
  QString text = StripTrailingZeros(QString::number(value, 'f', 10));
  return text == "-0" ? QStringLiteral("0") : text;
}

}  // namespace tw
