// A settings hive kept in one SQLite file.
//
// Each value write is one SQLite transaction, so a value is either stored whole
// or not at all, and several processes may read and write the file at once
// (writers wait up to a busy time-out). A file that is not a hive (not SQLite,
// or of a newer layout) is never written: the hive then reads nothing and
// refuses writes, and Error() says why.
#pragma once

#include <string>

#include "KPLPlatform/SettingsHive.h"
#include "KPLPlatform/SqliteDb.h"

namespace kpl::platform {

class SqliteHive final : public SettingsHive {
 public:
  // Opens (creating when missing, with its folder) the hive file at `path`.
  explicit SqliteHive(std::string path, int busyTimeoutMs = 5000);
  ~SqliteHive() override;
  SqliteHive(const SqliteHive&) = delete;
  SqliteHive& operator=(const SqliteHive&) = delete;

  bool CreateKey(std::string_view key) override;
  bool KeyExists(std::string_view key) const override;
  std::optional<HiveValue> Query(std::string_view key, std::string_view name) const override;
  bool Set(std::string_view key, std::string_view name, const HiveValue& value) override;
  bool DeleteValue(std::string_view key, std::string_view name) override;
  std::vector<HiveEntry> Values(std::string_view key) const override;
  std::string Error() const override;

  [[nodiscard]] const std::string& Path() const { return path_; }
  [[nodiscard]] bool ok() const { return db_.IsOpen(); }

  static constexpr int kLayoutVersion = 1;

 private:
  void Fail(std::string what);

  std::string path_;
  mutable SqliteDb db_;
  mutable std::mutex mutex_;
  mutable std::string error_;
};

}  // namespace kpl::platform
