#include "playlist/filter_clause.h"

#include <QStringList>

#include "data/preferences.h"
#include "data/sql_text.h"

namespace tw {

QString FilterCondition(const QString& values, const QString& column, bool substring) {
  if (values.isEmpty()) return {};
  QStringList parts;
  // Both sides folded alike: LIKE and COLLATE NOCASE would only ignore the case of A to Z.
  const QString folded_column = "casefold(" + column + ")";
  for (const QString& value : values.split('|')) {
    const QString quoted = EscapeQuotes(FoldCase(value));
    parts << (substring ? folded_column + " LIKE '%" + quoted + "%'" : "'" + quoted + "'");
  }
  if (substring) return "(" + parts.join(" OR ") + ")";
  return folded_column + " IN (" + parts.join(',') + ")";
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
