#include "data/database.h"

#include <sqlite3.h>

#include <QByteArray>
#include <QFileInfo>
#include <QString>

#include "data/sql_text.h"

namespace tw {
namespace {

void CallIntegerFunction(sqlite3_context* context, int, sqlite3_value**) {
  const auto* function = static_cast<std::function<int64_t()>*>(sqlite3_user_data(context));
  sqlite3_result_int64(context, (*function)());
}

void DeleteIntegerFunction(void* function) {
  delete static_cast<std::function<int64_t()>*>(function);
}

// casefold(x). ASCII texts, the common case, are folded here without a detour through
// QString: the function runs once per row a filtered query visits.
void CaseFoldFunction(sqlite3_context* context, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;  // the result stays NULL
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  const int size = sqlite3_value_bytes(argv[0]);
  if (!text) return;
  QByteArray folded(text, size);
  bool ascii = true;
  for (char& c : folded) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (!ascii) folded = FoldCase(QString::fromUtf8(text, size)).toUtf8();
  sqlite3_result_text(context, folded.constData(), static_cast<int>(folded.size()),
                      SQLITE_TRANSIENT);
}

}  // namespace

QueryResult::QueryResult(QueryResult&& other) noexcept
    : statement_(other.statement_), has_row_(other.has_row_) {
  other.statement_ = nullptr;
  other.has_row_ = false;
}

QueryResult& QueryResult::operator=(QueryResult&& other) noexcept {
  if (this != &other) {
    Finish();
    statement_ = other.statement_;
    has_row_ = other.has_row_;
    other.statement_ = nullptr;
    other.has_row_ = false;
  }
  return *this;
}

bool QueryResult::NextRow() {
  if (!statement_) return false;
  has_row_ = sqlite3_step(statement_) == SQLITE_ROW;
  if (!has_row_) Finish();
  return has_row_;
}

QString QueryResult::ColumnText(int column) const {
  if (!has_row_ || column < 0 || column >= sqlite3_column_count(statement_)) return {};
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  if (!text) return {};
  return QString::fromUtf8(text, sqlite3_column_bytes(statement_, column));
}

int64_t QueryResult::ColumnInteger(int column) const {
  if (!has_row_ || column < 0 || column >= sqlite3_column_count(statement_)) return 0;
  return sqlite3_column_int64(statement_, column);
}

double QueryResult::ColumnReal(int column) const {
  if (!has_row_ || column < 0 || column >= sqlite3_column_count(statement_)) return 0.0;
  return sqlite3_column_double(statement_, column);
}

int QueryResult::ColumnCount() const { return statement_ ? sqlite3_column_count(statement_) : 0; }

void QueryResult::Finish() {
  if (statement_) sqlite3_finalize(statement_);
  statement_ = nullptr;
  has_row_ = false;
}

bool Database::Open(const QString& path) {
  Close();
  if (!QFileInfo(path).isFile()) return false;
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
  if (sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  // SQLite reads the file lazily; reading the schema proves that the file is a database
  // before anything is written to it.
  if (sqlite3_exec(db, "SELECT COUNT(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  sqlite3_busy_timeout(db, 2000);
  // Reading pages through a memory map rather than copying each one in halves the time of a
  // query that visits thousands of rows, as every pick of the random generator does.
  sqlite3_exec(db, "PRAGMA mmap_size=1073741824", nullptr, nullptr, nullptr);
  sqlite3_create_function_v2(db, "casefold", 1,
                             SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                             CaseFoldFunction, nullptr, nullptr, nullptr);
  db_ = db;
  return true;
}

void Database::Close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

sqlite3_stmt* Database::Prepare(const QString& sql) {
  if (!db_) return nullptr;
  const QByteArray utf8 = sql.toUtf8();
  sqlite3_stmt* statement = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db_, utf8.constData(), static_cast<int>(utf8.size()), &statement, &tail) !=
      SQLITE_OK) {
    sqlite3_finalize(statement);
    return nullptr;
  }
  // Anything after the first statement other than blanks and semicolons is a second one.
  for (const char* p = tail; p && *p; ++p) {
    if (*p != ';' && *p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') {
      sqlite3_finalize(statement);
      return nullptr;
    }
  }
  return statement;
}

bool Database::Execute(const QString& sql) {
  sqlite3_stmt* statement = Prepare(sql);
  if (!statement) return false;
  int rc;
  do {
    rc = sqlite3_step(statement);
  } while (rc == SQLITE_ROW);
  sqlite3_finalize(statement);
  return rc == SQLITE_DONE;
}

QueryResult Database::Query(const QString& sql) { return QueryResult(Prepare(sql)); }

QString Database::LookupText(const QString& sql) {
  QueryResult result = Query(sql);
  result.NextRow();
  return result.ColumnText(0);
}

int64_t Database::LookupInteger(const QString& sql) {
  QueryResult result = Query(sql);
  result.NextRow();
  return result.ColumnInteger(0);
}

bool Database::SetRandomFunction(std::function<int64_t()> random) {
  if (!db_) return false;
  if (!random) {
    // Deleting an override leaves RANDOM() undefined rather than built in, so the default
    // is put back as an override of its own.
    random = [] {
      int64_t value = 0;
      sqlite3_randomness(sizeof value, &value);
      return value;
    };
  }
  // SQLite owns the copy from here and deletes it when the function is replaced or the
  // connection closes, even when registering fails.
  auto* owned = new std::function<int64_t()>(std::move(random));
  return sqlite3_create_function_v2(db_, "RANDOM", 0, SQLITE_UTF8, owned, CallIntegerFunction,
                                    nullptr, nullptr, DeleteIntegerFunction) == SQLITE_OK;
}

}  // namespace tw
