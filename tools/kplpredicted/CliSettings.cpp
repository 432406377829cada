#include "tools/kplpredicted/CliSettings.h"

#include <cstdio>
#include <cstdlib>

#include "KPLPlatform/Installed.h"
#include "KPLPlatform/SqliteHive.h"

namespace kplcli {

std::string DefaultSettingsPath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : ".") + "/.config";
  }
  return base + "/kplpredicted/settings.db";
}

std::shared_ptr<kpl::platform::SettingsHive> InstallSettings(const std::string& path) {
  using namespace kpl::platform;
  auto hive = std::make_shared<SqliteHive>(path.empty() ? DefaultSettingsPath() : path);
  if (!hive->ok()) {
    std::fprintf(stderr, "kplpredicted: %s; using the default settings\n", hive->Error().c_str());
    Installed<SettingsHive>::Install(std::make_shared<MemoryHive>());
    return nullptr;
  }
  Installed<SettingsHive>::Install(hive);
  return hive;
}

}  // namespace kplcli
