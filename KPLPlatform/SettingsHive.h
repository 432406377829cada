// The settings hive: our stand-in for the machine-wide registry.
//
// A hive holds keys named by backslash-separated paths ("SoftWare\Quorvane\Common",
// compared without regard to case, like registry keys); each key holds named
// values that are either text or a 32-bit number. Writes are atomic per value.
// MemoryHive serves tests; SqliteHive (SqliteHive.h) keeps a hive in one file.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kpl::platform {

enum class HiveValueType { kNone, kText, kNumber };

// One stored value: text or a 32-bit number.
using HiveValue = std::variant<std::string, std::uint32_t>;

struct HiveEntry {
  std::string name;
  HiveValue value;
};

class SettingsHive {
 public:
  virtual ~SettingsHive() = default;

  // Creates the key and its parents when missing; false when the hive cannot.
  [[nodiscard]] virtual bool CreateKey(std::string_view key) = 0;
  [[nodiscard]] virtual bool KeyExists(std::string_view key) const = 0;

  // The stored value, or nothing when the key or value is missing or the
  // hive cannot be read.
  [[nodiscard]] virtual std::optional<HiveValue> Query(std::string_view key, std::string_view name) const = 0;

  // Writes one value, creating it (the key must exist); false on failure.
  [[nodiscard]] virtual bool Set(std::string_view key, std::string_view name, const HiveValue& value) = 0;

  [[nodiscard]] virtual bool DeleteValue(std::string_view key, std::string_view name) = 0;

  // The values of a key, ordered by name.
  [[nodiscard]] virtual std::vector<HiveEntry> Values(std::string_view key) const = 0;

  // Empty while the hive works; otherwise why it cannot be read or written.
  [[nodiscard]] virtual std::string Error() const = 0;

  // Convenience queries.
  [[nodiscard]] HiveValueType TypeOf(std::string_view key, std::string_view name) const;
  [[nodiscard]] std::optional<std::string> QueryText(std::string_view key, std::string_view name) const;
  [[nodiscard]] std::optional<std::uint32_t> QueryNumber(std::string_view key, std::string_view name) const;

  // The default when no host installed a hive: an empty MemoryHive.
  static std::shared_ptr<SettingsHive> MakeDefault();
};

// A hive in memory, for tests and for hosts that keep no settings. It can be
// told to fail its writes or reads to show that callers survive that.
class MemoryHive final : public SettingsHive {
 public:
  bool CreateKey(std::string_view key) override;
  bool KeyExists(std::string_view key) const override;
  std::optional<HiveValue> Query(std::string_view key, std::string_view name) const override;
  bool Set(std::string_view key, std::string_view name, const HiveValue& value) override;
  bool DeleteValue(std::string_view key, std::string_view name) override;
  std::vector<HiveEntry> Values(std::string_view key) const override;
  std::string Error() const override;

  // Fault injection: every write (or read) fails while set.
  void FailWrites(bool fail);
  void FailReads(bool fail);
  // Fails writes of this one value name only.
  void FailWritesOf(std::string name);
  // How many successful writes the hive has taken.
  [[nodiscard]] int WriteCount() const;

 private:
  mutable std::mutex mutex_;
  std::map<std::string, std::map<std::string, HiveEntry>> keys_;  // by folded key, folded name
  bool failWrites_ = false;
  bool failReads_ = false;
  std::string failName_;
  int writes_ = 0;
};

// Key and value names compare without regard to ASCII case.
[[nodiscard]] std::string FoldName(std::string_view name);

}  // namespace kpl::platform
