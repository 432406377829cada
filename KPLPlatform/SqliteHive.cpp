#include "KPLPlatform/SqliteHive.h"

#include <filesystem>
#include <system_error>

namespace kpl::platform {
namespace {

constexpr std::int64_t kText = 1;
constexpr std::int64_t kNumber = 4;  // the registry's number type

HiveValue ReadValue(const SqliteStatement& s, int kindColumn) {
  if (s.Int(kindColumn) == kNumber) return static_cast<std::uint32_t>(s.Int(kindColumn + 2));
  return s.Text(kindColumn + 1);
}

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS hive_keys(path TEXT PRIMARY KEY NOT NULL);"
    "CREATE TABLE IF NOT EXISTS hive_values("
    "  key TEXT NOT NULL, folded TEXT NOT NULL, name TEXT NOT NULL,"
    "  kind INTEGER NOT NULL, text_value TEXT, number_value INTEGER,"
    "  PRIMARY KEY(key, folded));"
    "PRAGMA user_version = 1;";

}  // namespace

SqliteHive::SqliteHive(std::string path, int busyTimeoutMs) : path_(std::move(path)) {
  std::error_code ec;
  auto folder = std::filesystem::path(path_).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);

  if (!db_.Open(path_, SqliteDb::Mode::kReadWriteCreate, busyTimeoutMs)) {
    Fail(db_.Error());
    return;
  }
  const int version = db_.UserVersion().value_or(-1);
  if (version > kLayoutVersion) {
    Fail("layout version " + std::to_string(version) + " is newer than this program's (" +
         std::to_string(kLayoutVersion) + ")");
    return;
  }
  if (version < kLayoutVersion) {
    SqliteTransaction transaction(db_);
    if (!transaction.ok() || !db_.Exec(kSchema) || !transaction.Commit()) {
      // A read-only file can still be read when another process made the layout.
      const std::string why = db_.Error();
      auto check = db_.Prepare("SELECT count(*) FROM sqlite_master WHERE name='hive_values'");
      if (!check.Step() || check.Int(0) == 0) Fail(why);
    }
  }
}

SqliteHive::~SqliteHive() = default;

void SqliteHive::Fail(std::string what) {
  error_ = "cannot use settings file " + path_ + ": " + what;
  db_.Close();
}

bool SqliteHive::CreateKey(std::string_view key) {
  std::lock_guard lock(mutex_);
  if (!db_.IsOpen()) return false;
  const std::string folded = FoldName(key);
  SqliteTransaction transaction(db_);
  if (!transaction.ok()) {
    error_ = db_.Error();
    return false;
  }
  auto insert = db_.Prepare("INSERT OR IGNORE INTO hive_keys(path) VALUES(?1)");
  // The key and each of its parents.
  for (std::string::size_type pos = 0;; ++pos) {
    pos = folded.find('\\', pos);
    insert.Reset();
    if (!insert.Bind(1, std::string_view(folded).substr(0, pos)).Run()) {
      error_ = db_.Error();
      return false;
    }
    if (pos == std::string::npos) break;
  }
  if (!transaction.Commit()) {
    error_ = db_.Error();
    return false;
  }
  return true;
}

bool SqliteHive::KeyExists(std::string_view key) const {
  std::lock_guard lock(mutex_);
  if (!db_.IsOpen()) return false;
  auto s = db_.Prepare("SELECT 1 FROM hive_keys WHERE path = ?1");
  return s.Bind(1, FoldName(key)).Step();
}

std::optional<HiveValue> SqliteHive::Query(std::string_view key, std::string_view name) const {
  std::lock_guard lock(mutex_);
  if (!db_.IsOpen()) return std::nullopt;
  auto s = db_.Prepare("SELECT kind, text_value, number_value FROM hive_values WHERE key = ?1 AND folded = ?2");
  if (!s.Bind(1, FoldName(key)).Bind(2, FoldName(name)).Step()) return std::nullopt;
  return ReadValue(s, 0);
}

bool SqliteHive::Set(std::string_view key, std::string_view name, const HiveValue& value) {
  std::lock_guard lock(mutex_);
  if (!db_.IsOpen()) return false;
  // The key must exist, as for a registry value; one statement is one atomic write.
  auto s = db_.Prepare(
      "INSERT INTO hive_values(key, folded, name, kind, text_value, number_value) "
      "SELECT ?1, ?2, ?3, ?4, ?5, ?6 WHERE EXISTS (SELECT 1 FROM hive_keys WHERE path = ?1) "
      "ON CONFLICT(key, folded) DO UPDATE SET name = excluded.name, kind = excluded.kind, "
      "text_value = excluded.text_value, number_value = excluded.number_value");
  s.Bind(1, FoldName(key)).Bind(2, FoldName(name)).Bind(3, name);
  if (const auto* text = std::get_if<std::string>(&value)) {
    s.Bind(4, kText).Bind(5, *text);
  } else {
    s.Bind(4, kNumber).Bind(6, static_cast<std::int64_t>(std::get<std::uint32_t>(value)));
  }
  if (!s.Run()) {
    error_ = db_.Error();
    return false;
  }
  return db_.Changes() == 1;
}

bool SqliteHive::DeleteValue(std::string_view key, std::string_view name) {
  std::lock_guard lock(mutex_);
  if (!db_.IsOpen()) return false;
  auto s = db_.Prepare("DELETE FROM hive_values WHERE key = ?1 AND folded = ?2");
  return s.Bind(1, FoldName(key)).Bind(2, FoldName(name)).Run() && db_.Changes() == 1;
}

std::vector<HiveEntry> SqliteHive::Values(std::string_view key) const {
  std::lock_guard lock(mutex_);
  std::vector<HiveEntry> out;
  if (!db_.IsOpen()) return out;
  auto s = db_.Prepare("SELECT name, kind, text_value, number_value FROM hive_values WHERE key = ?1 ORDER BY folded");
  s.Bind(1, FoldName(key));
  while (s.Step()) out.push_back(HiveEntry{s.Text(0), ReadValue(s, 1)});
  return out;
}

std::string SqliteHive::Error() const {
  std::lock_guard lock(mutex_);
  return error_;
}

}  // namespace kpl::platform
