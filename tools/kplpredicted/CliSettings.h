// Where kplpredicted keeps its settings hive, and installing it.
#pragma once

#include <memory>
#include <string>

#include "KPLPlatform/SettingsHive.h"

namespace kplcli {

// ${XDG_CONFIG_HOME:-$HOME/.config}/kplpredicted/settings.db
[[nodiscard]] std::string DefaultSettingsPath();

// Opens the hive at `path` (the default when empty) and installs it for the
// process. A file that cannot be used is reported on standard error and
// replaced by an empty in-memory hive, so the defaults apply and the file is
// left as it was. Returns the opened file hive, or null when it failed.
std::shared_ptr<kpl::platform::SettingsHive> InstallSettings(const std::string& path);

}  // namespace kplcli
