#include "tools/kplpredicted/Commands.h"

namespace kplcli {

void AddFormulaCommand(CLI::App& /*app*/) {}

}  // namespace kplcli
