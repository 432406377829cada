// kplpredicted settings show / set, run as a user would.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

using kpl::testing::ProgramRun;
using kpl::testing::RunProgram;
using kpl::testing::ShellQuote;
using kpl::testing::TempDir;

class SettingsCommand : public ::testing::Test {
 protected:
  ProgramRun Run(const std::string& args) {
    return RunProgram(ShellQuote(KPL_CLI) + " " + args + " --settings " + ShellQuote(file_));
  }
  static bool HasLine(const std::string& out, const std::string& name, const std::string& value) {
    const auto at = out.find(name + " ");
    if (at == std::string::npos) return false;
    const auto eq = out.find("= ", at);
    const auto end = out.find('\n', eq);
    return out.substr(eq + 2, end - eq - 2) == value;
  }
  TempDir dir_;
  std::string file_ = dir_.File("settings.db");
};

TEST_F(SettingsCommand, ShowsAndChangesSettings) {
  auto shown = Run("settings show");
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_TRUE(HasLine(shown.out, "Weight Unit", "2"));
  EXPECT_TRUE(HasLine(shown.out, "strDefaultPredSetName", "Default"));

  const struct {
    const char* name;
    const char* value;
    const char* shownAs;
  } changes[] = {
      {"'weight unit'", "3", "3"},
      {"strDefaultPredSetName", "'GLI 2012'", "GLI 2012"},
      {"'Executable Path'", "/opt/lab", "/opt/lab/"},  // the load adds the separator
      {"OrdersLastSynchronized", "2025-02-03T04:05:06", "02/03/25 04:05:06"},
      {"bIgnoreAssertErrors", "0x1", "1"},
  };
  for (const auto& c : changes) {
    auto set = Run(std::string("settings set ") + c.name + " " + c.value);
    EXPECT_EQ(set.status, 0) << c.name << ": " << set.err;
  }
  shown = Run("settings show");
  EXPECT_TRUE(HasLine(shown.out, "Weight Unit", "3"));
  EXPECT_TRUE(HasLine(shown.out, "strDefaultPredSetName", "GLI 2012"));
  EXPECT_TRUE(HasLine(shown.out, "Executable Path", "/opt/lab/"));
  EXPECT_TRUE(HasLine(shown.out, "strConfigPath", "/opt/lab/Cfg/"));
  EXPECT_TRUE(HasLine(shown.out, "bIgnoreAssertErrors", "1"));
}

TEST_F(SettingsCommand, RefusesWhatItCannotStore) {
  const struct {
    std::string args;
    const char* message;
  } cases[] = {
      {"settings set nosuch 1", "unknown setting \"nosuch\""},
      {"settings set 'Weight Unit' kg", "Weight Unit takes a 32-bit number, not \"kg\""},
      {"settings set 'Weight Unit' 4294967296", "takes a 32-bit number"},
      {"settings set strConfigPath /x", "derived from Executable Path"},
      {"settings set strLastLogin " + std::string(50, 'a'), "strLastLogin holds at most 49 characters"},
      {"settings set OrdersLastSynchronized yesterday", "takes a date and time"},
  };
  for (const auto& c : cases) {
    auto run = Run(c.args);
    EXPECT_EQ(run.status, 2) << c.args;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(file_)) << "a refused value opens nothing";
}

TEST_F(SettingsCommand, CorruptFileGivesAnErrorAndTheDefaultsAndStaysAsItWas) {
  dir_.Write("settings.db", "garbage, not a settings file\n");
  auto shown = Run("settings show");
  EXPECT_EQ(shown.status, 0);
  EXPECT_NE(shown.err.find("cannot use settings file " + file_ + ": file is not a database"), std::string::npos)
      << shown.err;
  EXPECT_TRUE(HasLine(shown.out, "Weight Unit", "2"));
  auto set = Run("settings set 'Weight Unit' 3");
  EXPECT_EQ(set.status, 1);
  EXPECT_EQ(TempDir::Read(file_), "garbage, not a settings file\n");
}

TEST(Program, VersionAndHelp) {
  auto version = RunProgram(ShellQuote(KPL_CLI) + " --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_NE(version.out.find("kplpredicted 8.1"), std::string::npos);
  auto help = RunProgram(ShellQuote(KPL_CLI) + " --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("settings"), std::string::npos);
  auto bad = RunProgram(ShellQuote(KPL_CLI) + " nosuchcommand");
  EXPECT_NE(bad.status, 0);
}

}  // namespace
