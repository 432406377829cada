#include "KPLPlatform/SettingsHive.h"

#include <algorithm>
#include <cctype>

namespace kpl::platform {

std::string FoldName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  // Registry paths ignore a leading or doubled separator.
  std::string out;
  out.reserve(folded.size());
  for (char c : folded) {
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out.push_back(c);
  }
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

HiveValueType SettingsHive::TypeOf(std::string_view key, std::string_view name) const {
  auto value = Query(key, name);
  if (!value) return HiveValueType::kNone;
  return std::holds_alternative<std::string>(*value) ? HiveValueType::kText : HiveValueType::kNumber;
}

std::optional<std::string> SettingsHive::QueryText(std::string_view key, std::string_view name) const {
  auto value = Query(key, name);
  if (!value || !std::holds_alternative<std::string>(*value)) return std::nullopt;
  return std::get<std::string>(*value);
}

std::optional<std::uint32_t> SettingsHive::QueryNumber(std::string_view key, std::string_view name) const {
  auto value = Query(key, name);
  if (!value || !std::holds_alternative<std::uint32_t>(*value)) return std::nullopt;
  return std::get<std::uint32_t>(*value);
}

std::shared_ptr<SettingsHive> SettingsHive::MakeDefault() { return std::make_shared<MemoryHive>(); }

bool MemoryHive::CreateKey(std::string_view key) {
  std::lock_guard lock(mutex_);
  if (failWrites_) return false;
  // Parents exist implicitly: a key path is its own entry.
  std::string folded = FoldName(key);
  std::string::size_type pos = 0;
  while (true) {
    pos = folded.find('\\', pos);
    keys_[folded.substr(0, pos)];
    if (pos == std::string::npos) break;
    ++pos;
  }
  return true;
}

bool MemoryHive::KeyExists(std::string_view key) const {
  std::lock_guard lock(mutex_);
  return !failReads_ && keys_.count(FoldName(key)) != 0;
}

std::optional<HiveValue> MemoryHive::Query(std::string_view key, std::string_view name) const {
  std::lock_guard lock(mutex_);
  if (failReads_) return std::nullopt;
  auto k = keys_.find(FoldName(key));
  if (k == keys_.end()) return std::nullopt;
  auto v = k->second.find(FoldName(name));
  if (v == k->second.end()) return std::nullopt;
  return v->second.value;
}

bool MemoryHive::Set(std::string_view key, std::string_view name, const HiveValue& value) {
  std::lock_guard lock(mutex_);
  if (failWrites_ || (!failName_.empty() && FoldName(name) == FoldName(failName_))) return false;
  auto k = keys_.find(FoldName(key));
  if (k == keys_.end()) return false;
  k->second[FoldName(name)] = HiveEntry{std::string(name), value};
  ++writes_;
  return true;
}

bool MemoryHive::DeleteValue(std::string_view key, std::string_view name) {
  std::lock_guard lock(mutex_);
  if (failWrites_) return false;
  auto k = keys_.find(FoldName(key));
  return k != keys_.end() && k->second.erase(FoldName(name)) != 0;
}

std::vector<HiveEntry> MemoryHive::Values(std::string_view key) const {
  std::lock_guard lock(mutex_);
  std::vector<HiveEntry> out;
  if (failReads_) return out;
  auto k = keys_.find(FoldName(key));
  if (k == keys_.end()) return out;
  for (const auto& [folded, entry] : k->second) out.push_back(entry);
  return out;
}

std::string MemoryHive::Error() const { return {}; }

void MemoryHive::FailWrites(bool fail) {
  std::lock_guard lock(mutex_);
  failWrites_ = fail;
}

void MemoryHive::FailReads(bool fail) {
  std::lock_guard lock(mutex_);
  failReads_ = fail;
}

void MemoryHive::FailWritesOf(std::string name) {
  std::lock_guard lock(mutex_);
  failName_ = std::move(name);
}

int MemoryHive::WriteCount() const {
  std::lock_guard lock(mutex_);
  return writes_;
}

}  // namespace kpl::platform
