// The derivation pass: lung-volume cases with the program's thirds and the
// 7-decimal texts, percent ratios and copies, and the DLCO corrections.
#include "KPLPredicted/KPLPredDerived.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "KPLDomainObjects/KPLPredVariable.h"
#include "KPLPredicted/KPLPredDlg.h"
#include "PredFixture.h"

namespace {

using kpl::testing::PredFixture;
constexpr std::int32_t kPred = KPLPredVariable::kPredicted;
constexpr std::int32_t kSD = KPLPredVariable::kStandardDeviation;

// The lung-volume variables: VC, IC, ERV (SVC test), FRC, RV, TLC, RV/TLC of
// the washout and of the pleth test, and the pleth volume difference.
void AddLungVolumes(PredFixture& f) {
  f.Set().ageGroups.vcUsesFvcEquation = false;
  for (const std::int32_t n : {52, 53, 54}) f.AddVariable(n, 3);
  for (const std::int32_t n : {60, 61, 62, 63}) f.AddVariable(n, 5);
  for (const std::int32_t n : {75, 76, 77, 78, 79}) f.AddVariable(n, 16);
}

// Value of "%0.7f" text, as the grid holds a derived value.
double Text7(const char* text) { return std::stod(text); }

TEST(PredDerivedTest, Case3RvAndTlcGiveTheSubdivisionsThroughSevenDecimalTexts) {
  PredFixture f;
  AddLungVolumes(f);
  f.SetEquation(61, kPred, "=1.5");
  f.SetEquation(62, kPred, "=6.0");
  CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
  ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
  // IC = 4.5 × 0.66666666 = 2.99999997 and ERV = 4.5 × 0.33333334 =
  // 1.50000003 are written as "3.0000000" and "1.5000000".
  const std::map<std::int32_t, double> expected = {
      {52, 4.5}, {53, 3.0}, {54, 1.5}, {60, 3.0}, {75, 3.0}, {63, 25.0}, {76, 1.5}, {77, 6.0}, {78, 25.0}, {79, 0.0},
  };
  for (const auto& [number, value] : expected) EXPECT_EQ(dlg.ReadPredicted(number), value) << number;
  EXPECT_EQ(f.Predicted(5, 60), 3.0);
  EXPECT_EQ(f.Predicted(21, 59), 3.0);
  EXPECT_EQ(f.Predicted(16, 53), 3.0);
}

TEST(PredDerivedTest, Case9RvAndFrcDivideByTheProgramsThird) {
  PredFixture f;
  AddLungVolumes(f);
  f.SetEquation(61, kPred, "=1.5");
  f.SetEquation(60, kPred, "=3.0");
  CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
  ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
  // VC = 1.5 / 0.33333334 = 4.49999991, not 4.5.
  const std::map<std::int32_t, double> expected = {
      {54, 1.5},
      {52, Text7("4.4999999")},
      {53, Text7("2.9999999")},
      {62, Text7("5.9999999")},
      {77, Text7("5.9999999")},
      {63, Text7("25.0000004")},
      {78, Text7("25.0000004")},
      {75, 3.0},
      {76, 1.5},
  };
  for (const auto& [number, value] : expected) EXPECT_EQ(dlg.ReadPredicted(number), value) << number;
}

TEST(PredDerivedTest, LungVolumeCasesFillWhatTheKnownVolumesImply) {
  struct Case {
    const char* label;
    std::map<std::int32_t, const char*> equations;  // of pleth RV 76, TLC 77, FRC 75 and VC 52
    double vc, ic, erv, frc, rv, tlc, rvTlc;
  };
  // With VC 3, the default IC 3 × 0.66666666 = 1.99999998 is written "2.0000000".
  const std::vector<Case> cases = {
      {"2: TLC alone derives nothing", {{77, "=6"}}, 0, 0, 0, 0, 0, 6, 0},
      {"4: VC", {{52, "=3"}}, 3, 2, 1, 0, 0, 0, 0},
      {"5: RV, VC", {{76, "=1.5"}, {52, "=3"}}, 3, 2, 1, 2.5, 1.5, 4.5, 1.5 * 100 / 4.5},
      {"6: TLC, VC", {{77, "=6"}, {52, "=3"}}, 3, 2, 1, 4, 3, 6, 50},
      {"7: RV, TLC, VC", {{76, "=1.5"}, {77, "=6"}, {52, "=3"}}, 3, 2, 1, 2.5, 1.5, 6, 25},
      {"11: RV, TLC, FRC", {{76, "=1.5"}, {77, "=6"}, {75, "=3"}}, 4.5, 3, 1.5, 3, 1.5, 6, 25},
      {"12: VC, FRC", {{52, "=3"}, {75, "=2.5"}}, 3, 2, 1, 2.5, 1.5, 4.5, 1.5 * 100 / 4.5},
      {"13: RV, VC, FRC", {{76, "=1.5"}, {52, "=3"}, {75, "=2.5"}}, 3, 2, 1, 2.5, 1.5, 4.5, 1.5 * 100 / 4.5},
      {"14: TLC, VC, FRC", {{77, "=6"}, {52, "=3"}, {75, "=4"}}, 3, 2, 1, 4, 3, 6, 50},
      {"15: all four", {{76, "=1.5"}, {77, "=6"}, {52, "=4"}, {75, "=3"}}, 4, 3, 1, 3, 1.5, 6, 25},
  };
  for (const Case& c : cases) {
    PredFixture f;
    AddLungVolumes(f);
    for (const auto& [number, equation] : c.equations) f.SetEquation(number, kPred, equation);
    CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
    ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed) << c.label;
    EXPECT_NEAR(dlg.ReadPredicted(52), c.vc, 1e-7) << c.label;
    EXPECT_NEAR(dlg.ReadPredicted(53), c.ic, 1e-7) << c.label;
    EXPECT_NEAR(dlg.ReadPredicted(54), c.erv, 1e-7) << c.label;
    EXPECT_NEAR(dlg.ReadPredicted(75), c.frc, 1e-7) << c.label;
    EXPECT_NEAR(dlg.ReadPredicted(76), c.rv, 1e-7) << c.label;
    EXPECT_NEAR(dlg.ReadPredicted(77), c.tlc, 1e-7) << c.label;
    EXPECT_NEAR(dlg.ReadPredicted(63), c.rvTlc, 1e-7) << c.label;
    EXPECT_NEAR(dlg.ReadPredicted(78), c.rvTlc, 1e-7) << c.label;
  }
}

TEST(PredDerivedTest, RatiosAndCopiesFillVariablesWithoutEquations) {
  for (const bool ownRatioEquation : {false, true}) {
    PredFixture f;
    f.Set().ageGroups.vcUsesFvcEquation = false;
    for (const std::int32_t n : {2, 3, 4, 5, 8, 9, 10, 204}) f.AddVariable(n, 1);
    f.AddVariable(52, 3);
    f.AddVariable(77, 16);
    for (const std::int32_t n : {102, 103, 106, 107}) f.AddVariable(n, 4);
    f.SetEquation(2, kPred, "=4");
    f.SetEquation(3, kPred, "=3");
    f.SetEquation(4, kPred, "=2");
    f.SetEquation(52, kPred, "=5");
    f.SetEquation(77, kPred, "=6");
    f.SetEquation(77, kSD, "=0.8");
    f.SetEquation(102, kPred, "=25");
    f.SetEquation(102, kSD, "=4");
    if (ownRatioEquation) f.SetEquation(8, kPred, "=70");
    CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
    ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
    EXPECT_EQ(f.Predicted(1, 8), ownRatioEquation ? 70.0 : 75.0);
    EXPECT_EQ(f.Predicted(1, 9), 50.0);
    EXPECT_EQ(f.Predicted(1, 10), 0.0);  // FEV 5 has no value
    EXPECT_EQ(f.Predicted(1, 204), 40.0);
    EXPECT_EQ(f.Predicted(4, 103), 25.0);
    EXPECT_EQ(f.SD(4, 103), 4.0);
    EXPECT_EQ(f.Predicted(4, 106), 6.0);
    EXPECT_EQ(f.SD(4, 106), 0.8);
    EXPECT_EQ(f.Predicted(4, 107), Text7("4.1666667"));
  }
}

TEST(PredDerivedTest, DlcoCorrectionFormulas) {
  struct Case {
    const char* label;
    std::int32_t method;
    double hb, hct, co;
    bool maleAdult, altitude;
    double pressure;
    double expected;
  };
  constexpr double q = 30;
  const std::vector<Case> cases = {
      {"method 0, adult male: Q × 1.7 × Hb / (Hb + 10.22)", 0, 10, 0, 0, true, false, 0, 30 * 17 / 20.22},
      {"method 0, female or child: G 9.38", 0, 10, 0, 0, false, false, 0, 30 * 17 / 19.38},
      {"method 1", 1, 14, 0, 0, true, false, 0, 30 * 14 * 0.06965},
      {"method 2 from hematocrit alone: Hb 15", 2, 0, 45, 0, true, false, 0, 30 / (7.5 / 15 + 0.5)},
      {"method 3 from hemoglobin alone: Hct 45", 3, 15, 0, 0, true, false, 0, 30 + 0.325},
      {"an unknown method gives 0", 7, 10, 0, 0, true, false, 0, 0},
      {"carboxyhemoglobin alone", 0, 0, 0, 10, true, false, 0, 30 / 1.1},
      {"hemoglobin and carboxyhemoglobin", 0, 10, 0, 5, true, false, 0, 30 * 17 / 20.22 / 1.05},
      {"altitude alone, 630 mmHg", 0, 0, 0, 0, true, true, 630, 30 / 0.914533},
      {"altitude without a pressure", 0, 0, 0, 0, true, true, 0, 30},
      {"nothing to correct with keeps the base", 0, 0, 0, 0, true, false, 0, 30},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(KPLPredDerived::CorrectDLCO(q, c.method, c.hb, c.hct, c.co, c.maleAdult, c.altitude, c.pressure),
                c.expected, 1e-9)
        << c.label;
  }
}

TEST(PredDerivedTest, CalculatorCorrectsTheCachedBaseOnceAcrossBothPasses) {
  struct Case {
    const char* label;
    float age;
    std::int32_t sex;
    const char* equation103;  // "" for none
    const char* expected;     // the 7-decimal text of 103
  };
  const std::vector<Case> cases = {
      {"male 40, base from 102", 40, 1, "", "25.2225519"},
      {"female 40", 40, 2, "", "26.3157895"},
      {"male 14 counts as a child", 14, 1, "", "26.3157895"},
      {"103's own equation is the base", 40, 1, "=40", "33.6300692"},
  };
  for (const Case& c : cases) {
    PredFixture f;
    f.visit.age = c.age;
    f.patient.sex = c.sex;
    f.AddObserved(8, 156, 10);  // hemoglobin
    f.AddVariable(102, 4);
    f.AddVariable(103, 4);
    f.SetEquation(102, kPred, "=30");
    if (*c.equation103 != '\0') f.SetEquation(103, kPred, c.equation103);
    CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
    dlg.SetDLCOOnly(0, true, false);
    ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
    EXPECT_EQ(f.Predicted(4, 103), Text7(c.expected)) << c.label;
    EXPECT_EQ(f.Predicted(4, 102), 30.0) << c.label;
  }
}

TEST(PredDerivedTest, AltitudeCorrectionThroughTheCalculator) {
  PredFixture f;
  f.visit.barometricPressure = 630;
  f.AddVariable(102, 4);
  f.AddVariable(103, 4);
  f.SetEquation(102, kPred, "=30");
  CKPLPredDlg dlg(&f.store, &f.registry, &f.visit);
  dlg.SetDLCOOnly(0, true, true);
  ASSERT_EQ(dlg.DoModal(), CKPLPredDlg::kComputed);
  EXPECT_EQ(f.Predicted(4, 103), Text7("32.8036276"));
}

}  // namespace
