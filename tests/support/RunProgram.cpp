#include "support/RunProgram.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "support/TempDir.h"

namespace kpl::testing {

ProgramRun RunProgram(const std::string& command) {
  TempDir dir;
  const std::string out = dir.File("out"), err = dir.File("err");
  const int raw = std::system((command + " >" + ShellQuote(out) + " 2>" + ShellQuote(err) + " </dev/null").c_str());
  ProgramRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = TempDir::Read(out);
  run.err = TempDir::Read(err);
  return run;
}

std::string ShellQuote(const std::string& argument) {
  std::string quoted = "'";
  for (char c : argument) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace kpl::testing
