#include "KPLPlatform/Process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "KPLPlatform/Installed.h"

extern char** environ;

namespace kpl::platform {
namespace {

class StdAbort final : public Terminator {
 public:
  void Abort() override { std::abort(); }
};

}  // namespace

std::shared_ptr<ProcessLauncher> ProcessLauncher::MakeDefault() { return std::make_shared<PosixProcessLauncher>(); }
std::shared_ptr<Terminator> Terminator::MakeDefault() { return std::make_shared<StdAbort>(); }

ProcessResult PosixProcessLauncher::RunAndWait(const std::vector<std::string>& argv) {
  ProcessResult result;
  if (argv.empty() || argv[0].empty()) {
    result.error = "no program given";
    return result;
  }
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  pid_t pid = 0;
  int rc = posix_spawn(&pid, argv[0].c_str(), nullptr, nullptr, args.data(), environ);
  if (rc != 0) {
    result.error = std::strerror(rc);
    return result;
  }
  result.started = true;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      result.error = std::strerror(errno);
      return result;
    }
  }
  if (WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.exitCode = 128 + WTERMSIG(status);
  }
  return result;
}

ProcessResult RunAndWait(const std::vector<std::string>& argv) {
  return Installed<ProcessLauncher>::Get()->RunAndWait(argv);
}

void Abort() { Installed<Terminator>::Get()->Abort(); }

}  // namespace kpl::platform
