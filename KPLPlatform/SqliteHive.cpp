#include "KPLPlatform/SqliteHive.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

namespace kpl::platform {
namespace {

// Finalizes a prepared statement on every path out of a scope.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  explicit operator bool() const { return stmt_ != nullptr; }
  sqlite3_stmt* get() const { return stmt_; }
  void Bind(int index, std::string_view text) {
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  void Bind(int index, std::int64_t number) { sqlite3_bind_int64(stmt_, index, number); }
  int Step() { return sqlite3_step(stmt_); }
  std::string Text(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

constexpr int kText = 1;
constexpr int kNumber = 4;  // the registry's number type

HiveValue ReadValue(const Statement& s, int kindColumn) {
  if (sqlite3_column_int(s.get(), kindColumn) == kNumber)
    return static_cast<std::uint32_t>(sqlite3_column_int64(s.get(), kindColumn + 2));
  return s.Text(kindColumn + 1);
}

}  // namespace

SqliteHive::SqliteHive(std::string path, int busyTimeoutMs) : path_(std::move(path)) {
  std::error_code ec;
  auto folder = std::filesystem::path(path_).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);

  if (sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                      nullptr) != SQLITE_OK) {
    Fail(db_ ? sqlite3_errmsg(db_) : "out of memory");
    return;
  }
  sqlite3_busy_timeout(db_, busyTimeoutMs);

  // Reading the layout version is the first touch of the file: a file that is
  // not a database fails here, before anything is written.
  int version = -1;
  {
    Statement s(db_, "PRAGMA user_version");
    if (!s || s.Step() != SQLITE_ROW) {
      Fail(sqlite3_errmsg(db_));
      return;
    }
    version = sqlite3_column_int(s.get(), 0);
  }
  if (version > kLayoutVersion) {
    Fail("layout version " + std::to_string(version) + " is newer than this program's (" +
         std::to_string(kLayoutVersion) + ")");
    return;
  }
  if (version < kLayoutVersion) {
    const char* schema =
        "BEGIN IMMEDIATE;"
        "CREATE TABLE IF NOT EXISTS hive_keys(path TEXT PRIMARY KEY NOT NULL);"
        "CREATE TABLE IF NOT EXISTS hive_values("
        "  key TEXT NOT NULL, folded TEXT NOT NULL, name TEXT NOT NULL,"
        "  kind INTEGER NOT NULL, text_value TEXT, number_value INTEGER,"
        "  PRIMARY KEY(key, folded));"
        "PRAGMA user_version = 1;"
        "COMMIT;";
    if (!Execute(schema)) {
      // A read-only file can still be read if another process made the layout.
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
      std::string why = error_;
      Statement check(db_, "SELECT count(*) FROM sqlite_master WHERE name='hive_values'");
      if (!check || check.Step() != SQLITE_ROW || sqlite3_column_int(check.get(), 0) == 0) {
        Fail(why);
        return;
      }
      error_.clear();
    }
  }
}

SqliteHive::~SqliteHive() {
  if (db_) sqlite3_close_v2(db_);
}

void SqliteHive::Fail(std::string what) {
  error_ = "cannot use settings file " + path_ + ": " + what;
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

bool SqliteHive::Execute(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  error_ = message ? message : sqlite3_errmsg(db_);
  sqlite3_free(message);
  return false;
}

bool SqliteHive::CreateKey(std::string_view key) {
  std::lock_guard lock(mutex_);
  if (!db_) return false;
  std::string folded = FoldName(key);
  if (!Execute("BEGIN IMMEDIATE")) return false;
  Statement s(db_, "INSERT OR IGNORE INTO hive_keys(path) VALUES(?1)");
  std::string::size_type pos = 0;
  bool ok = static_cast<bool>(s);
  while (ok) {
    pos = folded.find('\\', pos);
    sqlite3_reset(s.get());
    s.Bind(1, std::string_view(folded).substr(0, pos));
    ok = s.Step() == SQLITE_DONE;
    if (pos == std::string::npos) break;
    ++pos;
  }
  if (!ok) error_ = sqlite3_errmsg(db_);
  if (!ok || !Execute("COMMIT")) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
  }
  return true;
}

bool SqliteHive::KeyExists(std::string_view key) const {
  std::lock_guard lock(mutex_);
  if (!db_) return false;
  Statement s(db_, "SELECT 1 FROM hive_keys WHERE path = ?1");
  if (!s) return false;
  s.Bind(1, FoldName(key));
  return s.Step() == SQLITE_ROW;
}

std::optional<HiveValue> SqliteHive::Query(std::string_view key, std::string_view name) const {
  std::lock_guard lock(mutex_);
  if (!db_) return std::nullopt;
  Statement s(db_, "SELECT kind, text_value, number_value FROM hive_values WHERE key = ?1 AND folded = ?2");
  if (!s) return std::nullopt;
  s.Bind(1, FoldName(key));
  s.Bind(2, FoldName(name));
  if (s.Step() != SQLITE_ROW) return std::nullopt;
  return ReadValue(s, 0);
}

bool SqliteHive::Set(std::string_view key, std::string_view name, const HiveValue& value) {
  std::lock_guard lock(mutex_);
  if (!db_) return false;
  // The key must exist, as for a registry value; one statement is one atomic write.
  Statement s(db_,
              "INSERT INTO hive_values(key, folded, name, kind, text_value, number_value) "
              "SELECT ?1, ?2, ?3, ?4, ?5, ?6 WHERE EXISTS (SELECT 1 FROM hive_keys WHERE path = ?1) "
              "ON CONFLICT(key, folded) DO UPDATE SET name = excluded.name, kind = excluded.kind, "
              "text_value = excluded.text_value, number_value = excluded.number_value");
  if (!s) {
    error_ = sqlite3_errmsg(db_);
    return false;
  }
  s.Bind(1, FoldName(key));
  s.Bind(2, FoldName(name));
  s.Bind(3, name);
  if (const auto* text = std::get_if<std::string>(&value)) {
    s.Bind(4, std::int64_t{kText});
    s.Bind(5, *text);
  } else {
    s.Bind(4, std::int64_t{kNumber});
    s.Bind(6, static_cast<std::int64_t>(std::get<std::uint32_t>(value)));
  }
  if (s.Step() != SQLITE_DONE) {
    error_ = sqlite3_errmsg(db_);
    return false;
  }
  return sqlite3_changes(db_) == 1;
}

bool SqliteHive::DeleteValue(std::string_view key, std::string_view name) {
  std::lock_guard lock(mutex_);
  if (!db_) return false;
  Statement s(db_, "DELETE FROM hive_values WHERE key = ?1 AND folded = ?2");
  if (!s) return false;
  s.Bind(1, FoldName(key));
  s.Bind(2, FoldName(name));
  return s.Step() == SQLITE_DONE && sqlite3_changes(db_) == 1;
}

std::vector<HiveEntry> SqliteHive::Values(std::string_view key) const {
  std::lock_guard lock(mutex_);
  std::vector<HiveEntry> out;
  if (!db_) return out;
  Statement s(db_, "SELECT name, kind, text_value, number_value FROM hive_values WHERE key = ?1 ORDER BY folded");
  if (!s) return out;
  s.Bind(1, FoldName(key));
  while (s.Step() == SQLITE_ROW) out.push_back(HiveEntry{s.Text(0), ReadValue(s, 1)});
  return out;
}

std::string SqliteHive::Error() const {
  std::lock_guard lock(mutex_);
  return error_;
}

}  // namespace kpl::platform
