#include <gtest/gtest.h>

#include "KPLClassLibrary/KPLPressure.h"
#include "KPLClassLibrary/KplHeight.h"
#include "KPLClassLibrary/KplWeight.h"
#include "support/ReportCapture.h"

namespace {

using kpl::testing::ReportCapture;

// Conversions checked against independent figures (1 lb = 0.45359237 kg,
// 1 in = 2.54 cm, 1 kPa = 7.50062 mmHg, 1 cmH2O = 0.73556 mmHg) within float
// rounding of the library's own factors.
TEST(Units, ConvertsBetweenUnits) {
  struct Case {
    const char* label;
    int kind;  // 0 weight, 1 height, 2 pressure
    float value;
    int from, to;
    float expected;
    float tolerance;
  } cases[] = {
      {"10 lb to kg", 0, 10.0f, KPLWeight::kPound, KPLWeight::kKilogram, 4.5359237f, 2e-4f},
      {"1 stone to g", 0, 1.0f, KPLWeight::kStone, KPLWeight::kGram, 6350.2603f, 0.0f},
      {"32 oz to lb", 0, 32.0f, KPLWeight::kOunce, KPLWeight::kPound, 2.0f, 0.0f},
      {"70 kg to stone", 0, 70.0f, KPLWeight::kKilogram, KPLWeight::kStone, 11.0231f, 1e-3f},
      {"69 in to cm", 1, 69.0f, KPLHeight::kInch, KPLHeight::kCentimeter, 175.26f, 1e-4f},
      {"175 cm to m", 1, 175.0f, KPLHeight::kCentimeter, KPLHeight::kMeter, 1.75f, 1e-6f},
      {"6 ft to in", 1, 6.0f, KPLHeight::kFoot, KPLHeight::kInch, 72.0f, 0.0f},
      {"100 cmH2O to kPa", 2, 100.0f, KPLPressure::kCmH2O, KPLPressure::kKPa, 9.8015f, 1e-3f},
      {"760 torr to mmHg", 2, 760.0f, KPLPressure::kTorr, KPLPressure::kMmHg, 760.0f, 0.0f},
      {"101.325 kPa to mmHg", 2, 101.325f, KPLPressure::kKPa, KPLPressure::kMmHg, 760.13f, 0.05f},
      {"29.92 inHg to mmHg", 2, 29.92f, KPLPressure::kInHg, KPLPressure::kMmHg, 759.97f, 0.05f},
  };
  for (const auto& c : cases) {
    float value = 0;
    int unit = 0;
    if (c.kind == 0) {
      KPLWeight w;
      w.SetValue(c.value, c.from);
      w.ConvertTo(c.to);
      value = w.value, unit = w.unit;
    } else if (c.kind == 1) {
      KPLHeight h;
      h.SetValue(c.value, c.from);
      h.ConvertTo(c.to);
      value = h.value, unit = h.unit;
    } else {
      KPLPressure p;
      p.SetValue(c.value, c.from);
      p.ConvertTo(c.to);
      value = p.value, unit = p.unit;
    }
    EXPECT_NEAR(value, c.expected, c.tolerance) << c.label;
    EXPECT_EQ(unit, c.to) << c.label;
  }
}

TEST(Units, EachStepIsStoredInSinglePrecision) {
  // 100 cmH2O -> mmHg is the float 100/1.36, then times 0.1333 in float.
  KPLPressure p;
  p.SetValue(100.0f, KPLPressure::kCmH2O);
  p.ConvertTo(KPLPressure::kKPa);
  const float mmHg = 100.0f / 1.36f;
  EXPECT_EQ(p.value, mmHg * 0.1333f);

  KPLWeight w;
  w.SetValue(10.0f, KPLWeight::kPound);
  w.ConvertTo(KPLWeight::kKilogram);
  w.ConvertTo(KPLWeight::kPound);
  EXPECT_NEAR(w.value, 10.0f, 1e-5f);
}

TEST(Units, ZeroValueAndSetValueRules) {
  KPLWeight w;
  w.SetValue(0.0f, KPLWeight::kPound);
  w.ConvertTo(KPLWeight::kKilogram);
  EXPECT_EQ(w.unit, KPLWeight::kPound) << "a zero value keeps its unit";
  w.SetValue(12.5f, KPLWeight::kNoUnit);
  EXPECT_EQ(w.unit, KPLWeight::kPound);
  EXPECT_EQ(w.value, 12.5f);

  KPLPressure p;
  EXPECT_EQ(p.unit, KPLPressure::kNoUnit);
  p.SetValue(3.0f, KPLPressure::kKPa);
  p.SetValue(12.5f, KPLPressure::kNoUnit);
  EXPECT_EQ(p.unit, KPLPressure::kKPa);
  p.SetValue(12.5f, 0);
  EXPECT_EQ(p.unit, KPLPressure::kMmHg);
}

TEST(Units, InvalidUnitsAreReported) {
  ReportCapture capture;
  KPLWeight w;
  w.SetValue(5.0f, KPLWeight::kKilogram);
  w.ConvertTo(9);
  EXPECT_EQ(w.value, 5.0f);
  EXPECT_EQ(w.unit, 9) << "the invalid number is kept";
  w.ConvertTo(KPLWeight::kPound);  // now the current unit is invalid
  EXPECT_EQ(w.value, 5.0f);

  KPLHeight h;
  h.SetValue(5.0f, KPLHeight::kMeter);
  h.ConvertTo(0);

  KPLPressure p;
  p.SetValue(750.0f, 9);
  p.ConvertTo(KPLPressure::kKPa);  // taken as mmHg
  EXPECT_NEAR(p.value, 750.0f * 0.1333f, 1e-3f);
  p.ConvertTo(8);  // to mmHg, then stays there
  EXPECT_NEAR(p.value, 750.0f, 0.05f);
  EXPECT_EQ(p.unit, 8);

  EXPECT_EQ(capture.Messages(), (std::vector<std::string>{
                                    "Invalid weight unit: 9.",
                                    "Invalid weight unit: 9.",
                                    "Invalid height unit: 0.",
                                    "Invalid pressure unit: 9.",
                                    "Invalid pressure unit: 8.",
                                }));
  EXPECT_EQ(capture.Reports()[2].moduleName, "KPLClassLibrary/KplHeight");
  EXPECT_EQ(capture.Reports()[3].moduleName, "KPLClassLibrary/KPLPressure");
}

TEST(Units, DisplayNames) {
  EXPECT_STREQ(KPLWeight::UnitName(2), "Lbs");
  EXPECT_STREQ(KPLWeight::UnitName(5), "??");
  EXPECT_STREQ(KPLHeight::UnitName(4), "Cms");
  EXPECT_STREQ(KPLPressure::UnitName(1), "cmH20");
  EXPECT_STREQ(KPLPressure::UnitName(0), "mmHg");
  EXPECT_STREQ(KPLPressure::UnitName(7), "??");
}

}  // namespace
