// The PF calculator: equation texts, tokens, demographics through the control
// texts, arm-span heights, age groups, races, unit factors, the grid layout,
// storing with its extra copies, the FOT reference path and its failures.
#include "KPLPredicted/KPLPredDlg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "KPLDomainObjects/KPLPredVariable.h"
#include "oscnorms/ReferenceCurves.h"
#include "PredFixture.h"
#include "support/TempDir.h"

namespace {

using kpl::testing::PredFixture;
constexpr std::int32_t kPred = KPLPredVariable::kPredicted;
constexpr std::int32_t kSD = KPLPredVariable::kStandardDeviation;

// A cell of the calculator's grid: its formula, text and value text.
struct CellView {
  std::string formula;
  std::string text;
  std::string value;
  std::uint32_t color;
};
CellView Cell(const CKPLPredDlg& dlg, std::int32_t col, std::int32_t row) {
  CSpreadSheet grid = dlg.Grid();
  grid.SetRow(row);
  grid.SetCol(col);
  return {grid.GetFormula(), grid.GetText(), grid.GetValueText(), grid.GetCellColor()};
}

// One variable 2 (FVC) whose predicted equation is `equation`; answers its
// predicted value after a run, NaN when nothing was stored.
double RunFvc(PredFixture& f, const std::string& equation) {
  f.AddVariable(2, 1, "", "FVC");
  f.SetEquation(2, kPred, equation);
  CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
  EXPECT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
  return f.Predicted(1, 2);
}

TEST(PredDlgTest, WritesTheEquationAsAFormulaWrappedInRaceAndUnitFactors) {
  PredFixture f;
  f.AddVariable(2, 1, "", "FVC");
  f.SetEquation(2, kPred, "=0.0443*HeightCM-0.026*Age-2.89");
  CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
  ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);

  const CellView pred = Cell(dlg, CKPLPredDlg::kValueCol, 1);
  EXPECT_EQ(pred.formula, "((0.0443*170.000000-0.026*45.000000-2.89) *1.00) *1.0");
  EXPECT_EQ(Cell(dlg, CKPLPredDlg::kFormulaCol, 1).text, "=0.0443*HeightCM-0.026*Age-2.89");
  EXPECT_EQ(Cell(dlg, CKPLPredDlg::kAuthorCol, 1).text, PredFixture::kAuthorName);
  EXPECT_EQ(Cell(dlg, CKPLPredDlg::kRaceCol, 1).text, "1.00");
  // The SD row has no equation: an empty formula counts as 0.
  EXPECT_EQ(Cell(dlg, CKPLPredDlg::kValueCol, 2).formula, "(() *1) *1.0");
  EXPECT_DOUBLE_EQ(f.Predicted(1, 2), 0.0443 * 170 - 0.026 * 45 - 2.89);
  EXPECT_EQ(f.SD(1, 2), 0.0);
  EXPECT_EQ(f.reports.Count(), 0u);
}

TEST(PredDlgTest, LaysOutTwoRowsPerLabelledVariableAndNoneForOthers) {
  PredFixture f;
  f.AddVariable(2, 1, "", "FVC");
  f.AddVariable(500, 27, "", "PEF");  // test 27 has no label
  f.AddVariable(102, 4, "", "DLCO");
  f.SetEquation(102, kPred, "=25");
  f.SetEquation(102, kSD, "=4");
  CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
  ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);

  const CSpreadSheet& grid = dlg.Grid();
  EXPECT_EQ(grid.GetMaxRow(), 4);
  EXPECT_EQ(grid.GetMaxCol(), 6);
  const char* headers[] = {"Variable", "Value", "Author", "Formula", "Race Correction"};
  for (int col = 1; col <= 5; ++col) EXPECT_EQ(Cell(dlg, col, 0).text, headers[col - 1]);
  EXPECT_EQ(Cell(dlg, 1, 1).text, "FVC - FVC");
  EXPECT_EQ(Cell(dlg, 1, 2).text, "FVC - FVC [sdv]");
  EXPECT_EQ(Cell(dlg, 1, 3).text, "DLCO - DLCO");
  EXPECT_EQ(Cell(dlg, 1, 4).text, "DLCO - DLCO [sdv]");
  // The hidden column holds the index in the whole collection.
  EXPECT_EQ(Cell(dlg, 6, 1).text, "0");
  EXPECT_EQ(Cell(dlg, 6, 3).text, "2");
  EXPECT_EQ(Cell(dlg, 6, 4).text, "2");
  EXPECT_EQ(Cell(dlg, 1, 3).color, 0x0098FB98u);  // RGB(152, 251, 152)
  EXPECT_EQ(Cell(dlg, 1, 1).color, 0x00B9DAFFu);  // RGB(255, 218, 185)

  EXPECT_EQ(dlg.RowOfVariable(102), 3);
  EXPECT_EQ(dlg.RowOfVariable(500), 0);
  EXPECT_EQ(f.Predicted(4, 102), 25.0);
  EXPECT_EQ(f.SD(4, 102), 4.0);
  EXPECT_FALSE(f.HasPredicteds(27));
}

TEST(PredDlgTest, ReplacesTokensWithTheRoundedDemographics) {
  struct Case {
    const char* label;
    std::function<void(PredFixture&)> setup;
    const char* equation;
    double expected;
  };
  const auto age = [](float years) { return [years](PredFixture& f) { f.visit.age = years; }; };
  const auto smoking = [](float smoked, float quit) {
    return [smoked, quit](PredFixture& f) {
      f.visit.yearsSmoked = smoked;
      f.visit.yearsQuit = quit;
    };
  };
  const auto none = [](PredFixture&) {};
  const std::vector<Case> cases = {
      {"AGETRUNC is replaced before AGE", age(45.67f), "=AGETRUNC*2", 90},
      {"age goes through a two-decimal text", age(45.678f), "=AGE", 45.68},
      {"JHAGE caps at 70", age(75.5f), "=JHAGE", 70},
      {"JHAGE below 70 is the age", age(65.25f), "=JHAGE", 65.25},
      {"AGEADJUST is 25 from 18", age(18.0f), "=AGEADJUST", 25},
      {"AGEADJUST is 25 up to 25", age(25.0f), "=AGEADJUST", 25},
      {"AGEADJUST above 25 is the age", age(25.5f), "=AGEADJUST", 25.5},
      {"AGEADJUST below 18 is the age", age(17.5f), "=AGEADJUST", 17.5},
      {"smoker who quit", smoking(20, 5), "=SMOKETYPE", 1},
      {"smoker", smoking(20, 0), "=SMOKETYPE", 2},
      {"never smoked", smoking(0, 0), "=SMOKETYPE", 0},
      {"years smoked go through a one-decimal text", smoking(12.34f, 0), "=YEARSOFSMOKING", 12.3},
      // 70 / 1.70² = 24.2215 and 0.007184 × 170^0.725 × 70^0.425 = 1.8097,
      // recomputed and written with two decimals.
      {"BMI is recomputed", none, "=BMI", 24.22},
      {"BSA is recomputed", none, "=BSA", 1.81},
      {"height in meters", none, "=HEIGHTMETERS", 1.7},
      {"weight in kilograms", none, "=WEIGHTKG", 70},
      {"names are matched in any case", none, "=weightkg+heightcm", 240},
  };
  for (const Case& c : cases) {
    PredFixture f;
    c.setup(f);
    EXPECT_NEAR(RunFvc(f, c.equation), c.expected, 1e-9) << c.label;
  }

  // Conversions of the other units, in single precision.
  PredFixture f;
  EXPECT_NEAR(RunFvc(f, "=HEIGHTINCHES*1000+WEIGHTPOUNDS/1000"), 170 / 2.54 * 1000 + 70 * 2.204634 / 1000, 0.01);
}

TEST(PredDlgTest, SettingsUnitsAndDecimalsRoundTheDemographics) {
  PredFixture f;
  f.registry.nWeightUnit = KPLWeight::kPound;
  f.registry.nHeightUnit = KPLHeight::kInch;
  f.registry.nWeightDecimals = 0;
  f.registry.nHeightDecimals = 1;
  f.visit.weight = 70.0f;   // 154.32 lb, written "154"
  f.visit.height = 170.0f;  // 66.93 in, written "66.9"
  const double kg = RunFvc(f, "=WEIGHTKG*1000+HEIGHTCM");
  EXPECT_NEAR(kg, 154 / 2.204634 * 1000 + 66.9 * 2.54, 0.05);
}

TEST(PredDlgTest, DerivesTheHeightFromTheArmSpan) {
  struct Case {
    const char* label;
    float age;
    std::int32_t sex;
    std::int32_t race;
    float armSpan;  // [cm]
    double heightCm;
  };
  const std::vector<Case> cases = {
      {"adult Black male", 40, 1, 2, 180, 180 / 1.06},
      {"adult Caucasian male", 40, 1, 1, 180, 180 / 1.03},
      {"adult female", 30, 2, 2, 180, 180 / 1.01},
      {"14-year-old male: factor 1 + 0.03 × 5/7", 14, 1, 1, 160, 160 / (1 + 0.03 * 5 / 7)},
      {"male at the threshold age 9", 9, 1, 1, 130, 130},
      {"female at the threshold age 12", 12, 2, 1, 150, 150},
      {"male under 9", 8.5, 1, 1, 130, 0},
      {"10-year-old female", 10, 2, 1, 140, 0},
      {"no arm span", 40, 1, 1, 0, 0},
  };
  for (const Case& c : cases) {
    PredFixture f;
    f.visit.height = 0;
    f.visit.age = c.age;
    f.visit.armSpan = c.armSpan;
    f.patient.sex = c.sex;
    f.patient.race = c.race;
    f.AddVariable(2, 1);
    f.SetEquation(2, kPred, "=HEIGHTCM");
    f.SetEquation(2, kSD, "=ARMSPAN");
    CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
    ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed) << c.label;
    EXPECT_NEAR(f.Predicted(1, 2), c.heightCm, 1e-4) << c.label;
    EXPECT_NEAR(f.SD(1, 2), c.armSpan, 1e-9) << c.label;
    // No height, no BMI or BSA.
    if (c.heightCm == 0) {
      EXPECT_EQ(dlg.GetState().bsa, 0) << c.label;
      EXPECT_EQ(dlg.GetState().bmi, 0) << c.label;
    }
  }
}

TEST(PredDlgTest, AgeGroupComesFromTheWholeYears) {
  struct Case {
    float age;
    std::int32_t ageGroup;
    double expected;
  };
  // Ranges 5–17, 18–25 and 26–99; the equations give the group's number.
  const std::vector<Case> cases = {
      {17.5f, 0, 10}, {17.99f, 0, 10}, {18.0f, 1, 20}, {25.9f, 1, 20}, {26.0f, 2, 30}, {4.5f, 3, 0}, {100.4f, 3, 0},
  };
  for (const Case& c : cases) {
    PredFixture f;
    f.Set().ageGroups.ageRanges = {{{5, 17}, {18, 25}, {26, 99}}};
    f.visit.age = c.age;
    f.AddVariable(2, 1);
    for (int sex = 1; sex <= 2; ++sex) {
      for (int group = 0; group < 3; ++group) {
        f.SetEquationFor(2, kPred, PredFixture::kAllRaces, sex, group, "=" + std::to_string(10 * (group + 1)));
      }
    }
    CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
    ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
    EXPECT_EQ(dlg.GetState().ageGroup, c.ageGroup) << c.age;
    EXPECT_DOUBLE_EQ(f.Predicted(1, 2), c.expected) << c.age;
  }
}

TEST(PredDlgTest, RaceChoosesTheEquationAndTheFactor) {
  struct Case {
    const char* label;
    std::int32_t race;
    std::int32_t sex;
    const char* raceText;
    double expected;
  };
  // Equations 10, 20, 30, 40 for race groups 1, 2, 3 and 4/6/7; factors
  // 1.1, 0.9, 0.8 and 0.7.
  const std::vector<Case> cases = {
      {"Caucasian", 1, 1, "1.10", 11},
      {"Black", 2, 1, "0.90", 18},
      {"Hispanic", 3, 2, "0.80", 24},
      {"NE Asian shares the Asian slot", 6, 1, "0.70", 28},
      {"unspecified uses the Caucasian equation and factor", 5, 1, "1.10", 11},
      {"a race without a combo entry finds nothing", 0, 1, "1.00", 0},
      {"a sex without a combo entry finds nothing", 1, 0, "1.10", 0},
  };
  for (const Case& c : cases) {
    PredFixture f;
    f.patient.race = c.race;
    f.patient.sex = c.sex;
    f.AddVariable(2, 1);
    for (int group = 0; group < 4; ++group) f.SetEquation(2, kPred, "=" + std::to_string(10 * (group + 1)), group);
    f.SetRaceFactors(2, {1.1, 0.9, 0.8, 0.7});
    CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
    ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
    EXPECT_EQ(Cell(dlg, CKPLPredDlg::kRaceCol, 1).text, c.raceText) << c.label;
    EXPECT_NEAR(f.Predicted(1, 2), c.expected, 1e-9) << c.label;
  }
}

TEST(PredDlgTest, CaucasianRedirectHoldsForItsOwnRowOnly) {
  PredFixture f;
  f.patient.race = KPLPatient::kBlack;
  f.AddVariable(2, 1);
  f.AddVariable(3, 1);
  f.SetEquation(2, kPred, "=10", 0);
  f.SetEquation(2, kPred, "caucasian", 1);
  f.SetEquation(3, kPred, "=10", 0);
  f.SetEquation(3, kPred, "=20", 1);
  f.SetRaceFactors(2, {1.0, 0.9, 1.0, 1.0});
  f.SetRaceFactors(3, {1.0, 0.5, 1.0, 1.0});
  CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
  ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
  // The redirected row keeps the patient's race factor.
  EXPECT_NEAR(f.Predicted(1, 2), 9, 1e-9);
  EXPECT_EQ(Cell(dlg, CKPLPredDlg::kFormulaCol, 1).text, "=10");
  // A later row, and the second pass, still use the Black equation and factor.
  EXPECT_NEAR(f.Predicted(1, 3), 10, 1e-9);
  EXPECT_EQ(dlg.GetState().race, KPLPatient::kBlack);
}

TEST(PredDlgTest, SplineTablesGetTheEnteredRaceAndTheEquationsTheEffectiveOne) {
  kpl::testing::TempDir folder;
  std::filesystem::create_directory(folder.File("Cfg"));
  std::filesystem::copy_file(kpl::testing::SharedDir() + "data/gli2012/GLI2012.cfg", folder.File("Cfg/GLI2012.cfg"));
  struct Case {
    std::int32_t race;
    double expected;
  };
  // OTHER is 1 in the GLI table for race 5 only; the race-1 equation and the
  // race-1 factor 2 serve race 5.
  for (const Case& c : {Case{5, 2}, Case{1, 0}}) {
    PredFixture f;
    f.registry.strExecutablePath = folder.Path();
    f.patient.race = c.race;
    f.AddVariable(3, 1);
    f.SetEquation(3, kPred, "=0*GLI_M_SPLINE_FEV1+OTHER", 0);
    f.SetRaceFactors(3, {2.0, 1.0, 1.0, 1.0});
    CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
    ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
    EXPECT_NEAR(f.Predicted(1, 3), c.expected, 1e-9) << c.race;
    EXPECT_EQ(f.prompt->Requests().size(), 0u);
  }
}

TEST(PredDlgTest, UnitFactorConvertsBetweenAuthorAndSystemUnits) {
  struct Case {
    bool authorSI;
    std::int32_t systemSI;
    const char* formula;
    double stored;  // SI
  };
  // Variable 102 converts with factor 0.335; the equation gives 10.
  const std::vector<Case> cases = {
      {true, 1, "((10) *1.00) *1.0", 10},
      {false, 1, "((10) *1.00) *0.335000", 3.35},
      {true, 0, "((10) *1.00) *2.985075", 2.985075 * 10 * 0.335},
      {false, 0, "((10) *1.00) *1.0", 3.35},
  };
  for (const Case& c : cases) {
    PredFixture f;
    f.Author().siUnits = c.authorSI;
    f.registry.nSIUnit = c.systemSI;
    f.AddVariable(102, 4);
    f.SetEquation(102, kPred, "=10");
    CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
    ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
    EXPECT_EQ(Cell(dlg, CKPLPredDlg::kValueCol, 1).formula, c.formula);
    EXPECT_NEAR(f.Predicted(4, 102), c.stored, 1e-9) << c.formula;
  }
}

TEST(PredDlgTest, VcTakesTheFvcEquationsWhenTheSetSaysSo) {
  for (const bool fromFvc : {true, false}) {
    PredFixture f;
    f.Set().ageGroups.vcUsesFvcEquation = fromFvc;
    f.AddVariable(2, 1);
    f.AddVariable(52, 3);
    f.SetEquation(2, kPred, "=4.5");
    f.SetEquation(2, kSD, "=0.5");
    f.SetEquation(52, kPred, "=1");
    CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
    ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
    EXPECT_EQ(f.Predicted(3, 52), fromFvc ? 4.5 : 1.0);
    EXPECT_EQ(f.SD(3, 52), fromFvc ? 0.5 : 0.0);
  }
}

TEST(PredDlgTest, StoresExtraCopiesOfFrcAndTheVcSubdivisions) {
  PredFixture f;
  f.Set().ageGroups.vcUsesFvcEquation = false;
  f.AddVariable(60, 5);
  f.AddVariable(52, 3);
  f.AddVariable(53, 3);
  f.AddVariable(54, 3);
  f.SetEquation(60, kPred, "=3.2");
  f.SetEquation(60, kSD, "=0.4");
  f.SetEquation(52, kPred, "=4.5");
  f.SetEquation(53, kPred, "=3");
  f.SetEquation(54, kPred, "=1.5");
  CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
  ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
  EXPECT_EQ(f.Predicted(5, 60), 3.2);
  EXPECT_EQ(f.Predicted(21, 59), 3.2);
  EXPECT_EQ(f.SD(21, 59), 0.4);
  for (const std::int32_t test : {3, 5, 16}) {
    EXPECT_EQ(f.Predicted(test, 52), 4.5) << test;
    EXPECT_EQ(f.Predicted(test, 53), 3.0) << test;
    EXPECT_EQ(f.Predicted(test, 54), 1.5) << test;
  }
  // The FVC effort keeps 52 and 53 and ignores 54.
  EXPECT_EQ(f.Predicted(1, 52), 4.5);
  EXPECT_EQ(f.Predicted(1, 53), 3.0);
  EXPECT_EQ(f.reports.Count(), 0u);
}

TEST(PredDlgTest, ObservedVolumesOrThePredictedOnesFromTheFirstPass) {
  for (const double observedVA : {0.0, 5.0}) {
    PredFixture f;
    if (observedVA != 0) f.AddObserved(4, 106, observedVA);
    f.AddVariable(102, 4);
    f.AddVariable(106, 4);
    f.AddVariable(80, 16);
    f.SetEquation(102, kPred, "=va*2");
    f.SetEquation(106, kPred, "=6");
    f.SetEquation(80, kPred, "=7");
    CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
    ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
    // Without an observed VA the second pass reads the first pass's 6.
    EXPECT_EQ(f.Predicted(4, 102), observedVA != 0 ? 10.0 : 12.0);
    EXPECT_EQ(f.visit.dlcoPredictedsUseObserved, 1);
    EXPECT_EQ(f.visit.plethPredictedsUseObserved, 0);
  }
}

TEST(PredDlgTest, ReferenceCurveVariablesWithoutEquationTakeTheFOTEffortValue) {
  PredFixture f;
  f.AddVariable(342, 25, "[FOTData]");  // resistance at 2 Hz
  f.AddVariable(365, 25, "[fotdata]");  // reactance at 2 Hz, with an equation
  f.SetEquation(365, kPred, "=-0.5");
  CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
  ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);

  const ReferenceCurves curves(45, 170, 70, 0);
  const double resistance = curves.GetRealReference(2.0);
  ASSERT_NE(resistance, 0.0);
  EXPECT_NEAR(dlg.FOTEffort().GetVariable(342), resistance, 1e-12);
  EXPECT_NEAR(f.Predicted(25, 342), resistance, 5e-8);
  EXPECT_EQ(f.Predicted(25, 365), -0.5);
  EXPECT_EQ(Cell(dlg, CKPLPredDlg::kFormulaCol, 1).text, "Proprietary");
  EXPECT_EQ(Cell(dlg, CKPLPredDlg::kFormulaCol, 3).text, "Proprietary");
}

TEST(PredDlgTest, UnknownSetShowsTheMessageAndStoresNothing) {
  PredFixture f;
  f.visit.predSetName = "Nope";
  f.AddVariable(2, 1);
  f.SetEquation(2, kPred, "=4");
  CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
  EXPECT_EQ(dlg.DoModal(), CKPLPredDlg::kUnknownPredSet);
  const auto requests = f.prompt->Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].text, "Unknown Predicted Set: Nope.");
  EXPECT_EQ(requests[0].buttons, kpl::platform::PromptButtons::kOk);
  EXPECT_EQ(requests[0].icon, kpl::platform::PromptIcon::kNone);
  EXPECT_FALSE(f.HasPredicteds(1));
}

TEST(PredDlgTest, EmptySetNameMeansDefault) {
  PredFixture f;
  f.visit.predSetName = "";
  EXPECT_EQ(RunFvc(f, "=4"), 4.0);
  EXPECT_TRUE(f.prompt->Requests().empty());
}

TEST(PredDlgTest, NoVisitIsReportedAndEndsWithTwo) {
  PredFixture f;
  CKPLPredDlg dlg(&f.store, &f.registry, nullptr);
  EXPECT_EQ(dlg.DoModal(), CKPLPredDlg::kNoVisit);
  const auto reports = f.reports.Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].moduleName, "KPLPredicted/KPLPredDlg");
  EXPECT_EQ(reports[0].message, "No predicted visit");
}

}  // namespace
