#include "data/sql_text.h"

#include <algorithm>

#include <QStringList>

#include "data/database.h"

namespace tw {

QString EscapeQuotes(const QString& text) {
  QString escaped = text;
  escaped.replace('\'', QLatin1String("''"));
  return escaped;
}

QString DistinctValues(Database& songs, const QString& column) {
  const QString name = column.trimmed();
  QueryResult rows =
      songs.Query("SELECT DISTINCT " + name + " FROM music ORDER BY " + name + " ASC");
  QString joined;
  while (rows.NextRow()) {
    const QString value = rows.ColumnText(0).trimmed();
    if (!value.isEmpty()) joined += value + ',';
  }
  while (joined.endsWith(',')) joined.chop(1);
  return joined.toLower();
}

QString SplitValues(const QString& values) {
  if (!values.contains(',')) return values;
  QStringList pieces = values.split(',');
  std::sort(pieces.begin(), pieces.end());
  pieces.erase(std::unique(pieces.begin(), pieces.end()), pieces.end());
  return pieces.join(',');
}

QString FoldCase(const QString& text) { return text.toCaseFolded(); }

bool IsDecimalId(const QString& text) {
  if (text.isEmpty() || text.size() > 18) return false;
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= '0' && c <= '9'; });
}

}  // namespace tw
