// The subcommands of kplpredicted. Each Add function registers one command
// group on the application; its callbacks set the exit status through
// SetExitStatus and print their own errors to standard error.
#pragma once

#include <CLI/CLI.hpp>

namespace kplcli {

void SetExitStatus(int status);

void AddSettingsCommands(CLI::App& app);
void AddFormulaCommand(CLI::App& app);
void AddStoreCommands(CLI::App& app);
void AddCalculateCommand(CLI::App& app);

// The store the commands use without --store: <data folder>/predicted.db.
[[nodiscard]] std::string DefaultStorePath();

}  // namespace kplcli
