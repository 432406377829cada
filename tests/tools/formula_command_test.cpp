// kplpredicted formula "TEXT": an equation author's quick check.
#include <gtest/gtest.h>

#include "support/RunProgram.h"

namespace {

using kpl::testing::RunProgram;
using kpl::testing::ShellQuote;

TEST(FormulaCommand, PrintsTheValueTextOrWhyThereIsNone) {
  const struct {
    const char* formula;
    int status;
    const char* out;
    const char* err;
  } cases[] = {
      {"((0.0443*170.000000-0.026*45.000000-2.89) *1.00) *1.0", 0, "3.4709999999999996\n", ""},
      {"-2^2", 0, "4\n", ""},
      {"(() *1.00) *1.0", 1, "0\n", "syntax error"},  // an empty equation counts as 0
      {"LN(-1)", 1, "0\n", ""},
      {"1/0", 1, "0\n", "division by zero"},
      {"HEIGHTCM*2", 1, "0\n", "unknown name"},
  };
  for (const auto& c : cases) {
    auto run = RunProgram(ShellQuote(KPL_CLI) + " formula " + ShellQuote(c.formula));
    EXPECT_EQ(run.status, c.status) << c.formula;
    EXPECT_EQ(run.out, c.out) << c.formula;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.formula << ": " << run.err;
  }
}

}  // namespace
