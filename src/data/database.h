#ifndef TUNEWRIGHT_DATA_DATABASE_H_
#define TUNEWRIGHT_DATA_DATABASE_H_

#include <cstdint>
#include <functional>

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace tw {

// One running query. It owns its statement and finishes it when it goes out of scope, so two
// threads can each run their own query on one connection. Reading a column without a current
// row, or of a NULL value, gives the empty text or 0; a query that failed to start has no rows.
class QueryResult {
 public:
  QueryResult() = default;
  explicit QueryResult(sqlite3_stmt* statement) : statement_(statement) {}
  QueryResult(QueryResult&& other) noexcept;
  QueryResult& operator=(QueryResult&& other) noexcept;
  QueryResult(const QueryResult&) = delete;
  QueryResult& operator=(const QueryResult&) = delete;
  ~QueryResult() { Finish(); }

  // Moves to the next row; false at the end, after an error and after Finish.
  bool NextRow();
  QString ColumnText(int column) const;
  int64_t ColumnInteger(int column) const;
  double ColumnReal(int column) const;
  int ColumnCount() const;
  void Finish();

 private:
  sqlite3_stmt* statement_ = nullptr;
  bool has_row_ = false;
};

// One SQLite connection in serialized mode: safe to use from the main thread and a worker at
// once. Statements are plain SQL texts; a text that holds more than one statement is refused
// as a whole, so no value can smuggle a second statement in. Besides SQLite's own functions a
// statement can call casefold(x): x as text with its case folded by FoldCase (sql_text.h),
// which, unlike lower() and LIKE, knows more letters than A to Z; NULL stays NULL.
class Database {
 public:
  Database() = default;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database() { Close(); }

  // Opens an existing file for reading and writing; fails (and stays closed) when the file is
  // missing or is not an SQLite database.
  bool Open(const QString& path);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }

  // Runs a statement that returns no rows; true when it succeeded.
  bool Execute(const QString& sql);
  QueryResult Query(const QString& sql);

  // Single-value lookups: column 0 of the first row; the empty text or 0 when nothing matched.
  QString LookupText(const QString& sql);
  int64_t LookupInteger(const QString& sql);

  // Makes RANDOM() of this connection draw from `random` (so that ORDER BY RANDOM() can be
  // seeded); an empty `random` gives SQLite's own randomness back. Runs under the
  // connection's lock.
  bool SetRandomFunction(std::function<int64_t()> random);

 private:
  sqlite3_stmt* Prepare(const QString& sql);

  sqlite3* db_ = nullptr;
};

}  // namespace tw

#endif  // TUNEWRIGHT_DATA_DATABASE_H_
