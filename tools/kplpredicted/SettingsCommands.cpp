#include "tools/kplpredicted/Commands.h"

namespace kplcli {

void AddSettingsCommands(CLI::App& /*app*/) {}

}  // namespace kplcli
