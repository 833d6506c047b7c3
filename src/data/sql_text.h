#ifndef TUNEWRIGHT_DATA_SQL_TEXT_H_
#define TUNEWRIGHT_DATA_SQL_TEXT_H_

#include <QString>

namespace tw {

class Database;

// Doubles every single quote, for a text value written between single quotes in a statement.
QString EscapeQuotes(const QString& text);

// The distinct non-empty (trimmed) values of a `music` column in SQLite's ascending order,
// joined by "," and lower-cased. `column` is a column name from the program, never user text.
QString DistinctValues(Database& songs, const QString& column);

// Every value of a ","-joined text once, sorted by character code, joined by ",".
QString SplitValues(const QString& values);

// The text with its case folded, as the connection's SQL function casefold() folds it: texts
// that differ only in case, in any script, fold to the same text.
QString FoldCase(const QString& text);

// True when `text` is a row id as the program writes it: decimal digits only.
bool IsDecimalId(const QString& text);

}  // namespace tw

#endif  // TUNEWRIGHT_DATA_SQL_TEXT_H_
