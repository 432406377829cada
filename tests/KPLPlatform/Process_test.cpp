#include "KPLPlatform/Process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/TempDir.h"

namespace kpl::platform {
namespace {

using kpl::testing::TempDir;

std::vector<std::vector<std::string>> ReadRecords(const std::string& path) {
  std::vector<std::vector<std::string>> calls(1);
  std::string content = TempDir::Read(path), current;
  for (std::size_t i = 0; i < content.size(); ++i) {
    if (content[i] != '\0') {
      current += content[i];
    } else if (i > 0 && content[i - 1] == '\0' && current.empty()) {
      calls.emplace_back();
    } else {
      calls.back().push_back(current);
      current.clear();
    }
  }
  calls.pop_back();
  return calls;
}

TEST(PosixProcessLauncher, PassesArgumentsUnchangedAndWaits) {
  TempDir dir;
  // A program in a folder with a blank, started without a shell.
  const std::string program = dir.File("with blank/record args");
  std::filesystem::create_directories(dir.File("with blank"));
  std::filesystem::copy_file(KPL_RECORD_ARGS, program);
  const std::string record = dir.File("record.bin");
  setenv("KPL_RECORD_FILE", record.c_str(), 1);
  setenv("KPL_RECORD_EXIT", "3", 1);

  const std::vector<std::string> argv = {program, "ASSERT;a b;8.1;m;12;x; y\n$(rm -rf /)\"'"};
  PosixProcessLauncher launcher;
  auto result = launcher.RunAndWait(argv);
  unsetenv("KPL_RECORD_FILE");
  unsetenv("KPL_RECORD_EXIT");

  EXPECT_TRUE(result.started);
  EXPECT_EQ(result.exitCode, 3) << "waited for the exit status";
  auto calls = ReadRecords(record);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], argv);
}

TEST(PosixProcessLauncher, MissingProgramIsNotStarted) {
  PosixProcessLauncher launcher;
  auto result = launcher.RunAndWait({"/nonexistent/KPLAssert"});
  EXPECT_FALSE(result.started);
  EXPECT_FALSE(result.error.empty());
  EXPECT_FALSE(launcher.RunAndWait({}).started);
}

}  // namespace
}  // namespace kpl::platform
