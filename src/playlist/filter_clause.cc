#include "playlist/filter_clause.h"

#include <QStringList>

#include "data/preferences.h"
#include "data/sql_text.h"

namespace tw {

QString FilterCondition(const QString& values, const QString& column, bool substring) {
  if (values.isEmpty()) return {};
  QStringList parts;
  for (const QString& value : values.split('|')) {
    const QString quoted = EscapeQuotes(value);
    // LIKE ignores the case of ASCII letters by itself.
    parts << (substring ? column + " LIKE '%" + quoted + "%'" : "'" + quoted + "'");
  }
  if (substring) return "(" + parts.join(" OR ") + ")";
  return column + " COLLATE NOCASE IN (" + parts.join(',') + ")";
}

QString BuildFilterClause(const Preferences& preferences) {
  QStringList conditions;
  for (const QString& condition : {FilterCondition(preferences.Artists, "artist", false),
                                   FilterCondition(preferences.Years, "year", false),
                                   FilterCondition(preferences.Record_labels, "label", false),
                                   FilterCondition(preferences.Countries, "country", false),
                                   FilterCondition(preferences.Genres, "genre", true)}) {
    if (!condition.isEmpty()) conditions << condition;
  }
  return conditions.join(" AND ");
}

}  // namespace tw
