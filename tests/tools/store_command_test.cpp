// kplpredicted store init / list / export / import / check, run as a user would.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

using kpl::testing::ProgramRun;
using kpl::testing::RunProgram;
using kpl::testing::ShellQuote;
using kpl::testing::TempDir;

class StoreCommand : public ::testing::Test {
 protected:
  ProgramRun Run(const std::string& args) {
    return RunProgram(ShellQuote(KPL_CLI) + " store " + args + " --store " + ShellQuote(store_));
  }
  TempDir dir_;
  std::string store_ = dir_.File("lab store.db");
};

TEST_F(StoreCommand, InitCreatesTheDefaultStoreOnceAndChecksClean) {
  auto init = Run("init");
  ASSERT_EQ(init.status, 0) << init.err;
  auto again = Run("init");
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("exists; use --force to replace it"), std::string::npos) << again.err;
  EXPECT_EQ(Run("init --force").status, 0);

  auto list = Run("list");
  EXPECT_EQ(list.status, 0);
  for (const char* set : {"pf  Default", "pf  GLI 2012", "gx  Default"})
    EXPECT_NE(list.out.find(set), std::string::npos) << list.out;

  auto check = Run("check");
  EXPECT_EQ(check.status, 0) << check.out << check.err;
  EXPECT_NE(check.out.find("no problems"), std::string::npos);
}

TEST_F(StoreCommand, ExportImportRoundTripAndRefusedImportsChangeNothing) {
  ASSERT_EQ(Run("init").status, 0);
  const std::string exported = dir_.File("gli.json");
  ASSERT_EQ(Run("export 'GLI 2012' -o " + ShellQuote(exported)).status, 0);
  const std::string before = TempDir::Read(store_);
  auto imported = Run("import " + ShellQuote(exported));
  EXPECT_EQ(imported.status, 0) << imported.err;

  // Rename the set and break one equation and one GUID: nothing is written.
  std::string text = TempDir::Read(exported);
  text.replace(text.find("\"GLI 2012\""), 10, "\"Broken\"");
  const auto eq = text.find("EXP(");
  text.replace(eq, 4, "EXP((");
  dir_.Write("broken.json", text);
  const std::string stored = TempDir::Read(store_);
  auto refused = Run("import " + ShellQuote(dir_.File("broken.json")));
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("broken.json: authors[0].equations[0].equations.raceGroup0.male[0]: equation does not parse"),
            std::string::npos)
      << refused.err;
  EXPECT_NE(refused.err.find("nothing was imported"), std::string::npos);
  EXPECT_EQ(TempDir::Read(store_), stored);
  EXPECT_EQ(Run("list").out.find("Broken"), std::string::npos);

  auto unknown = Run("export Nowhere -o -");
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.err.find("Unknown Predicted Set: Nowhere."), std::string::npos);
}

TEST_F(StoreCommand, AFileThatIsNotAStoreIsAClearError) {
  dir_.Write("lab store.db", "just text\n");
  for (const char* command : {"list", "check", "import /dev/null"}) {
    auto run = Run(command);
    EXPECT_NE(run.status, 0) << command;
  }
  auto list = Run("list");
  EXPECT_NE(list.err.find("cannot open store " + store_ + ": file is not a database"), std::string::npos) << list.err;
  EXPECT_EQ(TempDir::Read(store_), "just text\n");
}

}  // namespace
