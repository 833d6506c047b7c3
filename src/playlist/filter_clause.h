#ifndef TUNEWRIGHT_PLAYLIST_FILTER_CLAUSE_H_
#define TUNEWRIGHT_PLAYLIST_FILTER_CLAUSE_H_

#include <QString>

namespace tw {

struct Preferences;

// The SQL condition of one filter: `values` are the selected values separated by "|",
// `column` a column name of the program (never user text). Values match regardless of case in
// every script, since the preferences offer them in lower case while the songs keep their
// capitals: casefold(column) IN ('a','b''x'), or with `substring`
// (casefold(column) LIKE '%a%' OR casefold(column) LIKE '%b%'). Empty for no values.
QString FilterCondition(const QString& values, const QString& column, bool substring);

// The five filters joined by " AND ": artists, years, labels, countries, then genres as
// substrings (a song's genre text may name several). Empty when no filter is set.
QString BuildFilterClause(const Preferences& preferences);

}  // namespace tw

#endif  // TUNEWRIGHT_PLAYLIST_FILTER_CLAUSE_H_
