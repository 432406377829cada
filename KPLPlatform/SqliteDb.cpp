#include "KPLPlatform/SqliteDb.h"

#include <sqlite3.h>

#include <utility>

namespace kpl::platform {

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) {
  if (db) sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : stmt_(std::exchange(other.stmt_, nullptr)), lastResult_(other.lastResult_) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = std::exchange(other.stmt_, nullptr);
    lastResult_ = other.lastResult_;
  }
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text) {
  sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t number) {
  sqlite3_bind_int64(stmt_, index, number);
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, double number) {
  sqlite3_bind_double(stmt_, index, number);
  return *this;
}

SqliteStatement& SqliteStatement::BindNull(int index) {
  sqlite3_bind_null(stmt_, index);
  return *this;
}

bool SqliteStatement::Step() {
  if (!stmt_) {
    lastResult_ = SQLITE_MISUSE;
    return false;
  }
  lastResult_ = sqlite3_step(stmt_);
  return lastResult_ == SQLITE_ROW;
}

bool SqliteStatement::Run() {
  while (Step()) {
  }
  return Done();
}

void SqliteStatement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  lastResult_ = 0;
}

std::string SqliteStatement::Text(int column) const {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
}

std::int64_t SqliteStatement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }
double SqliteStatement::Double(int column) const { return sqlite3_column_double(stmt_, column); }
bool SqliteStatement::IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

SqliteDb::~SqliteDb() { Close(); }

bool SqliteDb::Open(const std::string& path, Mode mode, int busyTimeoutMs) {
  Close();
  int flags = SQLITE_OPEN_FULLMUTEX;
  flags |= mode == Mode::kReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  if (mode == Mode::kReadWriteCreate) flags |= SQLITE_OPEN_CREATE;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    error_ = db_ ? sqlite3_errmsg(db_) : "out of memory";
    Close();
    return false;
  }
  sqlite3_busy_timeout(db_, busyTimeoutMs);
  // Touch the file: a file that is not a database fails here.
  if (!UserVersion()) {
    std::string why = error_;
    Close();
    error_ = why;
    return false;
  }
  error_.clear();
  return true;
}

void SqliteDb::Close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

bool SqliteDb::Exec(std::string_view sql) {
  if (!db_) {
    error_ = "not open";
    return false;
  }
  std::string text(sql);
  char* message = nullptr;
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return true;
  error_ = message ? message : sqlite3_errmsg(db_);
  sqlite3_free(message);
  return false;
}

SqliteStatement SqliteDb::Prepare(std::string_view sql) {
  SqliteStatement s(db_, sql);
  if (!s.ok()) error_ = db_ ? sqlite3_errmsg(db_) : "not open";
  return s;
}

std::optional<int> SqliteDb::UserVersion() {
  auto s = Prepare("PRAGMA user_version");
  if (!s.Step()) {
    error_ = db_ ? sqlite3_errmsg(db_) : "not open";
    return std::nullopt;
  }
  return static_cast<int>(s.Int(0));
}

bool SqliteDb::IsReadOnly() const { return db_ && sqlite3_db_readonly(db_, "main") == 1; }
int SqliteDb::Changes() const { return db_ ? sqlite3_changes(db_) : 0; }

std::string SqliteDb::Error() const {
  if (!error_.empty()) return error_;
  return db_ ? sqlite3_errmsg(db_) : "not open";
}

SqliteTransaction::SqliteTransaction(SqliteDb& db) : db_(db) { begun_ = db_.Exec("BEGIN IMMEDIATE"); }

SqliteTransaction::~SqliteTransaction() {
  if (begun_ && !done_) (void)db_.Exec("ROLLBACK");
}

bool SqliteTransaction::Commit() {
  if (!begun_ || done_) return false;
  done_ = db_.Exec("COMMIT");
  return done_;
}

}  // namespace kpl::platform
