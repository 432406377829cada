// Test support: runs a command line through the shell and returns its exit
// status and what it wrote to standard output and standard error.
#pragma once

#include <string>

namespace kpl::testing {

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `command` (a shell command line; quote arguments yourself).
ProgramRun RunProgram(const std::string& command);

// Quotes one argument for the shell.
std::string ShellQuote(const std::string& argument);

}  // namespace kpl::testing
