// The entry object: argument checks and their messages, which calculators
// each type runs, and the decisions and modes of the two update operations.
#include "KPLPredicted/KPLPredicted.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "KPLDomainObjects/KPLPredVariable.h"
#include "PredFixture.h"

namespace {

using kpl::testing::PredFixture;
constexpr std::int32_t kPred = KPLPredVariable::kPredicted;

TEST(PredictedDllTest, CalculateReportsOnlyTheFirstMissingArgument) {
  struct Case {
    bool store, registry, visit;
    const char* message;
  };
  const std::vector<Case> cases = {
      {false, false, false, "No patient data store object"},
      {false, true, true, "No patient data store object"},
      {true, false, false, "No registry object"},
      {true, true, false, "No predicted visit object"},
  };
  for (const Case& c : cases) {
    PredFixture f;
    f.AddVariable(2, 1);
    f.SetEquation(2, kPred, "=4");
    CKPLPredictedDll dll;
    dll.Calculate(c.store ? &f.store : nullptr, c.registry ? &f.registry : nullptr, c.visit ? &f.visit : nullptr,
                  CKPLPredictedDll::PRED_PF);
    const auto reports = f.reports.Reports();
    ASSERT_EQ(reports.size(), 1u) << c.message;
    EXPECT_EQ(reports[0].moduleName, "KPLPredicted/KPLPredicted");
    EXPECT_EQ(reports[0].message, c.message);
    EXPECT_FALSE(f.HasPredicteds(1)) << c.message;
    EXPECT_EQ(f.store.loadCount, 0) << c.message;
  }
}

TEST(PredictedDllTest, CalculateRunsThePFCalculatorForTypesZeroAndOne) {
  struct Case {
    std::int32_t type;
    bool pf;
  };
  for (const Case& c : {Case{0, true}, Case{1, true}, Case{2, false}, Case{3, false}, Case{-1, false}}) {
    PredFixture f;
    f.AddVariable(2, 1);
    f.SetEquation(2, kPred, "=4");
    CKPLPredictedDll dll;
    dll.Calculate(&f.store, &f.registry, &f.visit, static_cast<CKPLPredictedDll::PRED_TYPE>(c.type));
    EXPECT_EQ(f.HasPredicteds(1), c.pf) << c.type;
    if (c.pf) {
      EXPECT_EQ(f.Predicted(1, 2), 4.0) << c.type;
    }
    EXPECT_EQ(f.reports.Count(), 0u) << c.type;
  }
}

TEST(PredictedDllTest, UnknownSetInsideCalculateShowsTheMessage) {
  PredFixture f;
  f.visit.predSetName = "Missing";
  f.AddVariable(2, 1);
  CKPLPredictedDll().Calculate(&f.store, &f.registry, &f.visit, CKPLPredictedDll::PRED_PF);
  ASSERT_EQ(f.prompt->Requests().size(), 1u);
  EXPECT_EQ(f.prompt->Requests()[0].text, "Unknown Predicted Set: Missing.");
  EXPECT_FALSE(f.HasPredicteds(1));
}

// A visit whose pleth equations use the observed thoracic gas volume.
void PlethVisit(PredFixture& f) {
  f.AddVariable(2, 1);
  f.AddVariable(75, 16);
  f.AddVariable(80, 16);
  f.AddVariable(81, 16);
  f.SetEquation(2, kPred, "=4");
  f.SetEquation(75, kPred, "=3");
  f.SetEquation(80, kPred, "=TGV*2");
  f.SetEquation(81, kPred, "=OBSTGV+1");
}

TEST(PredictedDllTest, PlethUpdateRecomputesOnlyEightyAndEightyOneWithTheObservations) {
  PredFixture f;
  PlethVisit(f);
  CKPLPredictedDll dll;
  dll.Calculate(&f.store, &f.registry, &f.visit, CKPLPredictedDll::PRED_PF);
  ASSERT_EQ(f.visit.plethPredictedsUseObserved, 1);
  EXPECT_EQ(f.Predicted(16, 80), 6.0);  // the predicted TGV of the first pass
  EXPECT_EQ(f.Predicted(16, 81), 4.0);

  f.AddObserved(16, 75, 5.0);
  f.SetEquation(2, kPred, "=9");    // would change FVC if it were stored
  f.SetEquation(75, kPred, "=10");  // would change TGV likewise
  EXPECT_EQ(dll.UpdatePlethPredictedsWithObserved(&f.store, &f.registry, &f.visit), 1);
  EXPECT_EQ(f.Predicted(16, 80), 10.0);
  EXPECT_EQ(f.Predicted(16, 81), 6.0);
  EXPECT_EQ(f.Predicted(16, 75), 3.0);
  EXPECT_EQ(f.Predicted(1, 2), 4.0);
}

TEST(PredictedDllTest, PlethUpdateDoesNothingWhenNoEquationUsesObservations) {
  PredFixture f;
  PlethVisit(f);
  f.visit.plethPredictedsUseObserved = 0;
  EXPECT_EQ(CKPLPredictedDll().UpdatePlethPredictedsWithObserved(&f.store, &f.registry, &f.visit), 0);
  EXPECT_FALSE(f.HasPredicteds(16));
  EXPECT_EQ(f.store.loadCount, 0);
}

TEST(PredictedDllTest, DlcoUpdateDecidesFromTheFlagAndItsArguments) {
  struct Case {
    const char* label;
    std::int32_t usesObserved, hbCorrection, altitudeCorrection, force;
    std::int32_t result;
  };
  const std::vector<Case> cases = {
      {"nothing asks", 0, 0, 0, 0, 0},
      {"force alone", 0, 0, 0, 1, 1},
      {"equations use observations", 1, 0, 0, 0, 1},
      {"hemoglobin correction", 0, 1, 0, 0, 1},
      {"altitude correction", 0, 0, 1, 0, 1},
  };
  for (const Case& c : cases) {
    PredFixture f;
    f.visit.barometricPressure = 630;
    f.AddObserved(8, 156, 10);
    f.AddVariable(2, 1);
    for (const std::int32_t n : {102, 103, 106, 107}) f.AddVariable(n, 4);
    f.SetEquation(2, kPred, "=4");
    f.SetEquation(102, kPred, "=30");
    f.SetEquation(106, kPred, "=6");
    f.visit.dlcoPredictedsUseObserved = c.usesObserved;
    EXPECT_EQ(CKPLPredictedDll().UpdateDLCOPredicteds(&f.store, &f.registry, &f.visit, 0, c.hbCorrection,
                                                       c.altitudeCorrection, c.force),
              c.result)
        << c.label;
    EXPECT_EQ(f.HasPredicteds(4), c.result == 1) << c.label;
    if (c.result == 0) continue;
    // Only 102, 103 and 107 are stored.
    EXPECT_FALSE(f.HasPredicteds(1)) << c.label;
    EXPECT_TRUE(std::isnan(f.Predicted(4, 106))) << c.label;
    EXPECT_EQ(f.Predicted(4, 102), 30.0) << c.label;
    EXPECT_EQ(f.Predicted(4, 107), 5.0) << c.label;
    // The corrections run under the hemoglobin switch only.
    const double corrected = c.hbCorrection != 0 ? std::stod("25.2225519") : 30.0;
    EXPECT_EQ(f.Predicted(4, 103), corrected) << c.label;
  }
}

TEST(PredictedDllTest, UpdatesReportAMissingVisit) {
  PredFixture f;
  CKPLPredictedDll dll;
  EXPECT_EQ(dll.UpdateDLCOPredicteds(&f.store, &f.registry, nullptr, 0, 1, 1, 1), 0);
  EXPECT_EQ(dll.UpdatePlethPredictedsWithObserved(&f.store, &f.registry, nullptr), 0);
  const auto reports = f.reports.Reports();
  ASSERT_EQ(reports.size(), 2u);
  for (const auto& report : reports) {
    EXPECT_EQ(report.moduleName, "KPLPredicted/KPLPredicted");
    EXPECT_EQ(report.message, "No predicted visit object.");
  }
}

}  // namespace
