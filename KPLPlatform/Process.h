// Process creation and waiting, and abnormal termination.
//
// Programs are started with an argument vector and never through a shell, so a
// path or an argument with blanks, quotes or semicolons arrives unchanged.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kpl::platform {

struct ProcessResult {
  bool started = false;  // false: the program could not be started
  int exitCode = -1;     // the exit status; 128 + signal when killed
  std::string error;     // why it did not start
};

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts argv[0] with the arguments argv[1..] in the caller's environment and
  // folder, and waits without a time-out until it ends.
  virtual ProcessResult RunAndWait(const std::vector<std::string>& argv) = 0;
  static std::shared_ptr<ProcessLauncher> MakeDefault();
};

class PosixProcessLauncher final : public ProcessLauncher {
 public:
  ProcessResult RunAndWait(const std::vector<std::string>& argv) override;
};

// Ends the process at once, without clean-up. Tests install a handler that
// records the request instead (it must not return into code that expects not
// to be returned to, so tests use it only around ReportAssertion).
class Terminator {
 public:
  virtual ~Terminator() = default;
  virtual void Abort() = 0;
  static std::shared_ptr<Terminator> MakeDefault();
};

ProcessResult RunAndWait(const std::vector<std::string>& argv);
void Abort();

}  // namespace kpl::platform
