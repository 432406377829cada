// A thin owner of one SQLite connection: statements that finalize
// themselves, transactions that roll back unless committed, and errors kept
// as text. Used by the settings hive and the persistence store.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace kpl::platform {

class SqliteStatement {
 public:
  SqliteStatement() = default;
  SqliteStatement(sqlite3* db, std::string_view sql);
  ~SqliteStatement();
  SqliteStatement(SqliteStatement&& other) noexcept;
  SqliteStatement& operator=(SqliteStatement&& other) noexcept;
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  [[nodiscard]] bool ok() const { return stmt_ != nullptr; }

  // Parameters count from 1.
  SqliteStatement& Bind(int index, std::string_view text);
  SqliteStatement& Bind(int index, std::int64_t number);
  SqliteStatement& Bind(int index, double number);
  SqliteStatement& BindNull(int index);

  // True while a row is ready; false at the end or on error (see Done).
  [[nodiscard]] bool Step();
  // The last Step ended the statement without error.
  [[nodiscard]] bool Done() const { return lastResult_ == 101; }  // SQLITE_DONE
  // Runs to the end; true on success.
  [[nodiscard]] bool Run();
  void Reset();

  [[nodiscard]] std::string Text(int column) const;
  [[nodiscard]] std::int64_t Int(int column) const;
  [[nodiscard]] double Double(int column) const;
  [[nodiscard]] bool IsNull(int column) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int lastResult_ = 0;
};

class SqliteDb {
 public:
  enum class Mode { kReadOnly, kReadWrite, kReadWriteCreate };

  SqliteDb() = default;
  ~SqliteDb();
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;

  // Opens `path`; false with Error() set when it cannot. The first read of
  // the file happens here, so a file that is not a database fails now.
  [[nodiscard]] bool Open(const std::string& path, Mode mode, int busyTimeoutMs);
  void Close();
  [[nodiscard]] bool IsOpen() const { return db_ != nullptr; }

  // Runs one or more statements; false with Error() set on failure.
  [[nodiscard]] bool Exec(std::string_view sql);
  [[nodiscard]] SqliteStatement Prepare(std::string_view sql);
  // PRAGMA user_version, or nothing when it cannot be read.
  [[nodiscard]] std::optional<int> UserVersion();
  [[nodiscard]] bool IsReadOnly() const;
  [[nodiscard]] int Changes() const;

  // The latest error of the connection, as SQLite words it.
  [[nodiscard]] std::string Error() const;
  [[nodiscard]] sqlite3* Handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
  std::string error_;
};

// BEGIN IMMEDIATE on construction; ROLLBACK on destruction unless committed.
class SqliteTransaction {
 public:
  explicit SqliteTransaction(SqliteDb& db);
  ~SqliteTransaction();
  SqliteTransaction(const SqliteTransaction&) = delete;
  SqliteTransaction& operator=(const SqliteTransaction&) = delete;

  [[nodiscard]] bool ok() const { return begun_; }
  [[nodiscard]] bool Commit();

 private:
  SqliteDb& db_;
  bool begun_ = false;
  bool done_ = false;
};

}  // namespace kpl::platform
