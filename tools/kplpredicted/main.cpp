// kplpredicted: the command-line face of the predicted-values library.
#include <clocale>
#include <cstdio>

#include "KPLClassLibrary/KplGlobal.h"
#include "tools/kplpredicted/Commands.h"

namespace kplcli {
namespace {
int exitStatus = 0;
}  // namespace

void SetExitStatus(int status) {
  if (exitStatus == 0) exitStatus = status;
}

}  // namespace kplcli

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");  // numbers pass through text with '.' decimals

  CLI::App app{"kplpredicted: predicted values and measurement analysis for pulmonary-function and exercise tests"};
  app.set_version_flag("--version", std::string("kplpredicted ") + kKplProductVersion);
  app.require_subcommand(1);

  kplcli::AddSettingsCommands(app);
  kplcli::AddFormulaCommand(app);
  kplcli::AddCalculateCommand(app);
  kplcli::AddStoreCommands(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }
  return kplcli::exitStatus;
}
