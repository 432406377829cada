// kplpredicted calculate: the main job, run as a user would.
#include <gtest/gtest.h>

#include <cmath>

#include <nlohmann/json.hpp>

#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

using kpl::testing::ProgramRun;
using kpl::testing::RunProgram;
using kpl::testing::ShellQuote;
using kpl::testing::TempDir;

class CalculateCommand : public ::testing::Test {
 protected:
  ProgramRun Run(const std::string& visit, const std::string& extra = "") {
    return RunProgram(ShellQuote(KPL_CLI) + " calculate " + ShellQuote(visit) + " --settings " +
                      ShellQuote(dir_.File("settings.db")) + " " + extra);
  }
  static std::string Example(const char* name) { return std::string(KPL_SOURCE_DIR) + "/data/examples/" + name; }
  TempDir dir_;
};

const nlohmann::json* Find(const nlohmann::json& rows, int testType, int variable) {
  for (const auto& r : rows)
    if (r["testType"] == testType && r["variable"] == variable) return &r;
  return nullptr;
}

// NHANES III (Hankinson 1999), Caucasian male of 45.5 years and 175 cm:
// FVC = -0.1933 + 0.00064*age - 0.000269*age^2 + 0.00018642*cm^2.
TEST_F(CalculateCommand, ComputesTheExampleVisitOnTheEmbeddedStore) {
  auto run = Run(Example("adult-male.json"), "--json");
  ASSERT_EQ(run.status, 0) << run.err;
  auto out = nlohmann::json::parse(run.out);
  EXPECT_EQ(out["predSetName"], "Default");
  const auto* fvc = Find(out["pf"], 1, 2);
  ASSERT_NE(fvc, nullptr);
  const double age = 45.5, cm = 175.0;
  const double expected = -0.1933 + 0.00064 * age - 0.000269 * age * age + 0.00018642 * cm * cm;
  EXPECT_NEAR((*fvc)["predicted"].get<double>(), expected, 5e-4);
  EXPECT_GT((*fvc)["sd"].get<double>(), 0.0);
  EXPECT_EQ((*fvc)["measured"].get<double>(), 4.62);
  const double z = (4.62 - (*fvc)["predicted"].get<double>()) / (*fvc)["sd"].get<double>();
  EXPECT_NEAR((*fvc)["zScore"].get<double>(), z, 1e-12);
  EXPECT_EQ(Find(out["pf"], 1, 3), nullptr) << "variables the set gives no value are left out";

  auto table = Run(Example("adult-male.json"));
  EXPECT_EQ(table.status, 0);
  EXPECT_NE(table.out.find("FVC            2  FVC  "), std::string::npos) << table.out;
}

TEST_F(CalculateCommand, RefusesBadVisitsWithAClearError) {
  dir_.Write("bad.json", R"({"age": "old", "patient": {"sex": 3}, "efforts": [{"testType": 6}]})");
  dir_.Write("broken.json", "{\"age\": 4");
  dir_.Write("unknown-set.json", R"({"predSetName": "Nowhere", "age": 40, "height": 170, "weight": 70, "patient": {"sex": 1}})");
  const struct {
    std::string visit;
    std::string extra;
    int status;
    const char* message;
  } cases[] = {
      {dir_.File("bad.json"), "", 1, "age: must be a number"},
      {dir_.File("bad.json"), "", 1, "patient.sex: must be 1 (male) or 2 (female)"},
      {dir_.File("bad.json"), "", 1, "efforts[0].testType: 6 is not a test type with efforts"},
      {dir_.File("broken.json"), "", 1, "not valid JSON"},
      {dir_.File("missing.json"), "", 1, "cannot read visit"},
      {dir_.File("unknown-set.json"), "", 1, "Unknown Predicted Set: Nowhere."},
      {Example("adult-male.json"), "--type gx", 2, "GX predicted values are not available yet"},
      {Example("adult-male.json"), "--store " + dir_.File("none.db"), 1, "cannot open store"},
  };
  for (const auto& c : cases) {
    auto run = Run(c.visit, c.extra);
    EXPECT_EQ(run.status, c.status) << c.visit << " " << c.extra;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.message << " not in: " << run.err;
    EXPECT_TRUE(run.out.empty()) << "nothing is printed as a result";
  }
}

}  // namespace
