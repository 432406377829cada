#include "oscnorms/ReferenceCurves.h"

#include <gtest/gtest.h>

namespace {

// Check values worked out from the published equations (reference data notes,
// forced-oscillation section): a man of 60 y, 177 cm, 85 kg and a woman of
// 60 y, 163 cm, 69 kg, at 2 to 22 Hz.
TEST(ReferenceCurves, MatchesWorkedCheckValues) {
  struct Row {
    double f, maleR, maleX, femaleR, femaleX;
  } rows[] = {
      {2, 0.2544, -0.1032, 0.3254, -0.1546},  {4, 0.2544, -0.1032, 0.3254, -0.1546},
      {6, 0.2478, -0.0849, 0.3141, -0.1292},  {8, 0.2346, -0.0484, 0.2915, -0.0784},
      {10, 0.2214, -0.0119, 0.2689, -0.0276}, {12, 0.2139, 0.0004, 0.2629, -0.0107},
      {14, 0.2064, 0.0126, 0.2568, 0.0063},   {16, 0.2011, 0.0262, 0.2536, 0.0228},
      {18, 0.1980, 0.0410, 0.2532, 0.0391},   {20, 0.1949, 0.0559, 0.2528, 0.0553},
      {22, 0.1963, 0.0700, 0.2524, 0.0727},
  };
  const ReferenceCurves man(60, 177, 85, 0), woman(60, 163, 69, 1);
  for (const auto& r : rows) {
    EXPECT_NEAR(man.GetRealReference(r.f), r.maleR, 5e-5) << r.f << " Hz";
    EXPECT_NEAR(man.GetImagReference(r.f), r.maleX, 5e-5) << r.f << " Hz";
    EXPECT_NEAR(woman.GetRealReference(r.f), r.femaleR, 5e-5) << r.f << " Hz";
    EXPECT_NEAR(woman.GetImagReference(r.f), r.femaleX, 5e-5) << r.f << " Hz";
  }
}

TEST(ReferenceCurves, HoldsTheEndAnchorsOutsideTheRange) {
  const ReferenceCurves man(60, 177, 85, 0);
  EXPECT_EQ(man.GetRealReference(0), man.GetRealReference(5));
  EXPECT_EQ(man.GetRealReference(100), man.GetRealReference(35));
  EXPECT_EQ(man.GetImagReference(-1), man.GetImagReference(5));
}

}  // namespace
