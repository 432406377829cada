// Variable definitions: unit conversions, stored units, SI factors; and the
// equation layouts of the PF and GX equation records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "KPLDomainObjects/KPLGXPredVariable.h"
#include "KPLDomainObjects/KPLPredVariable.h"
#include "KPLDomainObjects/KPLVariablesCollection.h"
#include "support/ReportCapture.h"

namespace {

using kpl::testing::ReportCapture;
constexpr double kNoValue = KPLVariable::kNoValue;

KPLVariable Variable(int number) {
  KPLVariable v;
  v.variableNumber = number;
  return v;
}

// Restores the class-wide unit settings after a test changes them.
class UnitSettings : public ::testing::Test {
 protected:
  void TearDown() override { KPLVariable::SetUnitSettings(KPLVariable::kSI, 4, 2); }
};

TEST(ConvertUnits, Table) {
  struct Case {
    const char* label;
    int number;
    double value;
    int from;
    int to;
    double expected;
  };
  const Case cases[] = {
      {"cmH2O to kPa", 46, 10, 0, 1, 0.98},
      {"kPa to cmH2O", 46, 10, 1, 0, 10 / 0.098},
      {"factor 10.2 to SI", 81, 2, 0, 1, 20.4},
      {"factor 0.335 to conventional", 107, 0.67, 1, 0, 2.0},
      {"mmHg to kPa", 3037, 120, 0, 1, 15.996},
      {"3216 converts with 0.1333", 3216, 100, 0, 1, 13.33},
      {"Fahrenheit to Celsius", 164, 98.6, 3, 2, 37.0},
      {"Celsius to Fahrenheit", 164, 116.6, 2, 3, 241.88},
      {"km/h to mph", 1072, 10, 4, 5, 6.2137119223733},
      {"mph to km/h", 1072, 10, 5, 4, 16.09344},
      {"unlisted variable unchanged", 2, 3.5, 0, 1, 3.5},
      {"unlisted variable, temperature pair", 2, 3.5, 2, 3, 3.5},
      {"same units", 46, 10, 1, 1, 10},
      {"zero passes any pair", 46, 0, 0, 2, 0},
      {"no value passes", 46, kNoValue, 0, 1, kNoValue},
      // Bad rows
      {"mixed systems", 46, 10, 0, 2, kNoValue},  // conventional to Celsius
      {"pair 1 to 2", 2, 10, 1, 2, kNoValue},
      {"unit code above 5", 46, 10, 0, 6, kNoValue},
      {"negative unit code", 46, 10, -1, 0, kNoValue},
      {"pressure variable, speed pair", 46, 10, 4, 5, kNoValue},
      {"temperature, SI pair", 164, 10, 0, 1, kNoValue},
      {"speed, temperature pair", 1072, 10, 2, 3, kNoValue},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    const double got = Variable(tc.number).ConvertUnits(tc.value, tc.from, tc.to);
    if (tc.expected == kNoValue) {
      EXPECT_EQ(got, kNoValue);
    } else {
      EXPECT_NEAR(got, tc.expected, 1e-9 * std::max(1.0, std::abs(tc.expected)));
    }
  }
}

TEST(SIFactor, Table) {
  struct Case {
    int number;
    double expected;
  };
  const Case cases[] = {{46, 0.098}, {88, 10.2}, {102, 0.335}, {153, 0.1333}, {3565, 0.1333},
                        {3216, 1.0}, {164, 1.0}, {1072, 1.0},  {4, 1.0}};
  for (const Case& tc : cases) EXPECT_EQ(KPLVariable::SIFactor(tc.number), tc.expected) << tc.number;
}

TEST_F(UnitSettings, ToStoredUnitsUsesTheSettingOfTheVariable) {
  KPLVariable::SetUnitSettings(KPLVariable::kConventional, KPLVariable::kMilesPerHour, KPLVariable::kFahrenheit);
  EXPECT_NEAR(Variable(46).ToStoredUnits(10), 0.98, 1e-12);
  EXPECT_NEAR(Variable(164).ToStoredUnits(98.6), 37.0, 1e-12);
  EXPECT_NEAR(Variable(1072).ToStoredUnits(10), 16.09344, 1e-12);
  KPLVariable::SetUnitSettings(KPLVariable::kSI, KPLVariable::kKilometersPerHour, KPLVariable::kCelsius);
  EXPECT_EQ(Variable(46).ToStoredUnits(10), 10);
  EXPECT_EQ(Variable(164).ToStoredUnits(37), 37);
}

TEST(Variable, FOTSourceIgnoresCase) {
  KPLVariable v;
  for (const char* source : {"[FOTData]", "[fotdata]", "[FOTDATA]"}) {
    v.source = source;
    EXPECT_TRUE(v.HasFOTSource()) << source;
  }
  for (const char* source : {"", "FOTData", "[FOTData] ", "[FOTDat]"}) {
    v.source = source;
    EXPECT_FALSE(v.HasFOTSource()) << source;
  }
}

TEST(Variable, ClearAndCopyKeepEveryMember) {
  KPLVariable v;
  v.name = "FEV1";
  v.text2 = "t2";
  v.source = "s";
  v.texts4To6 = {"a", "b", "c"};
  v.value1 = 1.5;
  v.variableNumber = 4;
  v.decimals = 2;
  v.flag1 = true;
  v.testType = 1;
  v.values2To10[8] = 10.0;
  v.flags2To4[2] = true;
  KPLVariablesCollection c;
  c.Append(v);
  const KPLVariablesCollection copy(c);
  const KPLVariable& kept = copy.Items()[0];
  EXPECT_EQ(kept.text2, "t2");
  EXPECT_EQ(kept.texts4To6[2], "c");
  EXPECT_EQ(kept.value1, 1.5);
  EXPECT_EQ(kept.decimals, 2);
  EXPECT_TRUE(kept.flag1);
  EXPECT_EQ(kept.values2To10[8], 10.0);
  EXPECT_TRUE(kept.flags2To4[2]);

  v.Clear();
  EXPECT_EQ(v.variableNumber, -1);
  EXPECT_EQ(v.name, "");
  EXPECT_EQ(v.values2To10[8], 0.0);
  EXPECT_FALSE(v.flags2To4[2]);
}

TEST(VariablesCollection, ClearResetsTheSelectorAndFlag) {
  KPLVariablesCollection c;
  c.variableSet = KPLVariablesCollection::kPFVariables;
  c.flag = true;
  c.Clear();
  EXPECT_EQ(c.variableSet, 0);
  EXPECT_FALSE(c.flag);
  EXPECT_EQ(c.storeParameters[0], 8);
}

TEST(PredVariable, EquationIndexByRaceGroupSexAndAgeGroup) {
  EXPECT_EQ(KPLPredVariable::EquationIndex(0, 1, 0), 0);
  EXPECT_EQ(KPLPredVariable::EquationIndex(0, 2, 0), 3);
  EXPECT_EQ(KPLPredVariable::EquationIndex(1, 1, 2), 8);
  EXPECT_EQ(KPLPredVariable::EquationIndex(3, 2, 1), 22);  // race 6, female, age group 1
  EXPECT_EQ(KPLPredVariable::EquationIndex(3, 2, 2), 23);
  EXPECT_EQ(KPLPredVariable::EquationIndex(4, 1, 0), -1);
  EXPECT_EQ(KPLPredVariable::EquationIndex(0, 0, 0), -1);
  EXPECT_EQ(KPLPredVariable::EquationIndex(0, 1, 3), -1);

  KPLPredVariable v;
  v.equations[22] = "1.5*HT";
  EXPECT_EQ(v.Equation(3, 2, 1), "1.5*HT");
  ReportCapture capture;
  EXPECT_EQ(v.Equation(0, 3, 0), "");
  EXPECT_EQ(capture.Messages(), (std::vector<std::string>{"Invalid equation: race group 0, sex 3, age group 0."}));
  EXPECT_EQ(capture.Reports()[0].moduleName, "KPLDomainObjects/KPLPredVariable");
}

TEST(GXPredVariable, EquationsAreDeclaredWithAgeGroupsTwoBeforeOne) {
  // Declared order: (m,0) (m,2) (m,1) (m,3) (f,0) (f,2) (f,1) (f,3).
  KPLGXPredVariable v;
  v.equations = {"m0", "m2", "m1", "m3", "f0", "f2", "f1", "f3"};
  for (int sex : {1, 2}) {
    for (int group = 0; group < 4; ++group) {
      const std::string expected = std::string(sex == 1 ? "m" : "f") + std::to_string(group);
      EXPECT_EQ(v.Equation(sex, group), expected);
    }
  }
  EXPECT_EQ(KPLGXPredVariable::EquationIndex(2, 1), 6);  // the seventh declared text
  ReportCapture capture;
  EXPECT_EQ(v.Equation(1, 4), "");
  EXPECT_EQ(capture.Count(), 1u);
}

TEST(EquationRecords, AlwaysValidAndNeverModified) {
  KPLPredVariable pf;
  pf.SetModified(true);
  KPLGXPredVariable gx;
  gx.SetModified(true);
  EXPECT_FALSE(pf.IsModified());
  EXPECT_FALSE(gx.IsModified());
  EXPECT_TRUE(pf.Validate(nullptr));
  EXPECT_TRUE(gx.Validate(nullptr));
}

}  // namespace
