// The FOT effort's calculations: least-squares fits checked against normal
// equations solved independently, the degree choice, band means and slopes,
// the zero crossing, point selection, correction, and bad input.
#include "KPLDomainObjects/KPLFOTEffort.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "KPLDomainObjects/KPLVisit.h"
#include "support/ReportCapture.h"

namespace {

using kpl::testing::ReportCapture;
using Fits = KPLFOTEffort::PolynomialFits;

// Independent least squares: normal equations in raw powers of x, solved in
// long double by Gaussian elimination with partial pivoting.
std::vector<long double> NormalEquations(const std::vector<double>& x, const std::vector<double>& y, int degree) {
  const int m = degree + 1;
  std::vector<std::vector<long double>> a(static_cast<std::size_t>(m),
                                          std::vector<long double>(static_cast<std::size_t>(m + 1), 0));
  for (std::size_t i = 0; i < x.size(); ++i) {
    std::vector<long double> powers(static_cast<std::size_t>(m), 1);
    for (int k = 1; k < m; ++k) powers[static_cast<std::size_t>(k)] = powers[static_cast<std::size_t>(k - 1)] * x[i];
    for (int r = 0; r < m; ++r) {
      for (int c = 0; c < m; ++c) a[r][c] += powers[static_cast<std::size_t>(r)] * powers[static_cast<std::size_t>(c)];
      a[r][m] += powers[static_cast<std::size_t>(r)] * y[i];
    }
  }
  for (int col = 0; col < m; ++col) {
    int pivot = col;
    for (int r = col + 1; r < m; ++r) {
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    }
    std::swap(a[col], a[pivot]);
    for (int r = col + 1; r < m; ++r) {
      const long double f = a[r][col] / a[col][col];
      for (int c = col; c <= m; ++c) a[r][c] -= f * a[col][c];
    }
  }
  std::vector<long double> q(static_cast<std::size_t>(m), 0);
  for (int r = m - 1; r >= 0; --r) {
    long double s = a[r][m];
    for (int c = r + 1; c < m; ++c) s -= a[r][c] * q[static_cast<std::size_t>(c)];
    q[static_cast<std::size_t>(r)] = s / a[r][r];
  }
  return q;
}

long double EvaluateLong(const std::vector<long double>& q, double x) {
  long double v = 0;
  for (auto it = q.rbegin(); it != q.rend(); ++it) v = v * x + *it;
  return v;
}

long double ResidualSum(const std::vector<long double>& q, const std::vector<double>& x, const std::vector<double>& y) {
  long double s = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const long double r = y[i] - EvaluateLong(q, x[i]);
    s += r * r;
  }
  return s;
}

// Reactance-like data with a fixed wobble (no random numbers, so a failure
// reproduces): 2, 4, …, 22 Hz as the predicted data uses.
std::vector<double> Grid(double first, double step, int count) {
  std::vector<double> f;
  for (int i = 0; i < count; ++i) f.push_back(first + step * i);
  return f;
}

std::vector<double> Wobbly(const std::vector<double>& f, double base, double slope, double curve) {
  std::vector<double> y;
  for (std::size_t i = 0; i < f.size(); ++i) {
    y.push_back(base + slope * f[i] + curve * f[i] * f[i] + 0.004 * std::sin(1.7 * static_cast<double>(i) + 0.3));
  }
  return y;
}

TEST(FOTFitPolynomials, MatchesNormalEquationsForEveryDegree) {
  struct Case {
    const char* label;
    std::vector<double> x, y;
    int degree;
  };
  const std::vector<double> grid = Grid(2, 2, 11);
  const std::vector<double> uneven = {3.5, 5, 6.25, 9, 13, 14.5, 19, 27.5};
  const Case cases[] = {
      {"reactance-like, 2-22 Hz", grid, Wobbly(grid, -0.15, 0.02, -0.0003), 5},
      {"resistance-like, 2-22 Hz", grid, Wobbly(grid, 0.3, -0.004, 0.00005), 5},
      {"uneven grid to 27.5 Hz", uneven, Wobbly(uneven, 0.1, 0.01, 0.0002), 5},
      {"four points, degree 1", {4, 6, 8, 10}, {0.2, 0.25, 0.27, 0.33}, 1},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    const Fits fits = KPLFOTEffort::FitPolynomials(tc.x, tc.y, tc.degree);
    ASSERT_EQ(fits.coefficients.size(), static_cast<std::size_t>(tc.degree) + 1);
    ASSERT_EQ(fits.residualSums.size(), static_cast<std::size_t>(tc.degree) + 1);
    for (int j = 0; j <= tc.degree; ++j) {
      SCOPED_TRACE("degree " + std::to_string(j));
      const std::vector<long double> expected = NormalEquations(tc.x, tc.y, j);
      const std::vector<double>& got = fits.coefficients[static_cast<std::size_t>(j)];
      ASSERT_EQ(got.size(), expected.size());
      for (std::size_t k = 0; k < got.size(); ++k) {
        const double e = static_cast<double>(expected[k]);
        EXPECT_NEAR(got[k], e, 1e-7 * std::fabs(e) + 1e-14) << "coefficient " << k;
      }
      // The fitted curve, at and between the points.
      for (double f = tc.x.front(); f <= tc.x.back(); f += 0.75) {
        EXPECT_NEAR(KPLFOTEffort::Evaluate(got, f), static_cast<double>(EvaluateLong(expected, f)), 1e-10) << f;
      }
      const double residual = static_cast<double>(ResidualSum(expected, tc.x, tc.y));
      EXPECT_NEAR(fits.residualSums[static_cast<std::size_t>(j)], residual, 1e-9 * residual + 1e-15);
    }
  }
}

TEST(FOTFitPolynomials, ReproducesAnExactPolynomial) {
  const std::vector<double> x = Grid(2, 2, 11);
  std::vector<double> y;
  for (double f : x) y.push_back(0.3 - 0.02 * f + 0.001 * f * f);
  const Fits fits = KPLFOTEffort::FitPolynomials(x, y, 4);
  ASSERT_EQ(fits.coefficients.size(), 5u);
  for (std::size_t j = 2; j <= 4; ++j) {
    const std::vector<double>& q = fits.coefficients[j];
    EXPECT_NEAR(q[0], 0.3, 1e-12);
    EXPECT_NEAR(q[1], -0.02, 1e-12);
    EXPECT_NEAR(q[2], 0.001, 1e-13);
    for (std::size_t k = 3; k < q.size(); ++k) EXPECT_NEAR(q[k], 0.0, 1e-13);
    EXPECT_NEAR(fits.residualSums[j], 0.0, 1e-15);
  }
  EXPECT_GT(fits.residualSums[1], 1e-6);
}

TEST(FOTFitPolynomials, DegenerateInputGivesFiniteOrEmptyFits) {
  // Two distinct frequencies cannot carry a quadratic: the higher degrees
  // repeat the line through the two means.
  const Fits repeated = KPLFOTEffort::FitPolynomials({4, 4, 4, 8, 8}, {1, 2, 3, 5, 5}, 2);
  ASSERT_EQ(repeated.coefficients.size(), 3u);
  for (std::size_t j = 1; j <= 2; ++j) {
    EXPECT_NEAR(KPLFOTEffort::Evaluate(repeated.coefficients[j], 4), 2.0, 1e-12);
    EXPECT_NEAR(KPLFOTEffort::Evaluate(repeated.coefficients[j], 8), 5.0, 1e-12);
    EXPECT_NEAR(repeated.residualSums[j], 2.0, 1e-12);
  }
  // All points at one frequency: the mean.
  const Fits single = KPLFOTEffort::FitPolynomials({6, 6, 6, 6}, {1, 2, 3, 6}, 1);
  ASSERT_EQ(single.coefficients.size(), 2u);
  EXPECT_NEAR(KPLFOTEffort::Evaluate(single.coefficients[1], 6), 3.0, 1e-12);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(KPLFOTEffort::FitPolynomials({}, {}, 2).coefficients.empty());
  EXPECT_TRUE(KPLFOTEffort::FitPolynomials({1, 2}, {1, 2}, -1).coefficients.empty());
  EXPECT_TRUE(KPLFOTEffort::FitPolynomials({1, 2, 3}, {1, nan, 3}, 1).coefficients.empty());
  EXPECT_TRUE(KPLFOTEffort::FitPolynomials({1, 2, 3}, {1, 2}, 1).coefficients.empty());
}

TEST(FOTChooseDegree, PicksFromResidualVariances) {
  // Residual sums are built as variance × (points − 1 − degree).
  struct Case {
    const char* label;
    std::vector<double> variances;
    int points;
    int expected;
  };
  const Case cases[] = {
      {"interior minimum wins", {10, 5, 2, 2.5, 3, 3.5}, 10, 2},
      {"equal minima: the lower degree", {10, 5, 2, 2, 2.5, 3}, 10, 2},
      {"minimum at n, clear drop at the top", {10, 5, 2, 1.5, 1.2, 1.0}, 10, 5},
      {"minimum at n, top drops below 0.1 %", {10, 5, 2, 1.0009, 1.0004, 1.0}, 10, 4},
      {"minimum at 0, later drop", {1, 3, 2.5, 2.5, 2.5, 2.5}, 10, 3},
      {"minimum at 0, no drop: n", {1, 2, 3, 4, 5, 6}, 10, 5},
      {"exact line: zero variances from degree 1", {5, 0, 0, 0, 0, 0}, 10, 2},
      {"degree 0 only", {3}, 4, 0},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    std::vector<double> sums;
    for (std::size_t j = 0; j < tc.variances.size(); ++j) {
      sums.push_back(tc.variances[j] * (tc.points - 1 - static_cast<int>(j)));
    }
    EXPECT_EQ(KPLFOTEffort::ChooseDegree(sums, tc.points), tc.expected);
  }
}

TEST(FOTBandHelpers, MeansAndSlopesOverABand) {
  const std::vector<double> q = {1, 2, 3};  // 1 + 2x + 3x²
  // Mean over [1, 3]: (x + x² + x³) from 1 to 3, over 2 = 36 / 2.
  EXPECT_DOUBLE_EQ(KPLFOTEffort::MeanValue(q, 1, 3), 18.0);
  // Mean slope: (P(3) − P(1)) / 2.
  EXPECT_DOUBLE_EQ(KPLFOTEffort::MeanSlope(q, 1, 3), 14.0);
  // A reversed band gives the same means.
  EXPECT_DOUBLE_EQ(KPLFOTEffort::MeanValue(q, 3, 1), 18.0);
  // A band of one point: the value and the slope there.
  EXPECT_DOUBLE_EQ(KPLFOTEffort::MeanValue(q, 2, 2), 17.0);
  EXPECT_DOUBLE_EQ(KPLFOTEffort::MeanSlope(q, 2, 2), 14.0);
  EXPECT_EQ(KPLFOTEffort::MeanValue({}, 1, 3), 0.0);
  EXPECT_EQ(KPLFOTEffort::MeanSlope({}, 1, 3), 0.0);
  EXPECT_EQ(KPLFOTEffort::MeanSlope({4}, 1, 3), 0.0);
  EXPECT_EQ(KPLFOTEffort::Evaluate({}, 3), 0.0);
}

TEST(FOTBandHelpers, ZeroCrossingByFalsePosition) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* label;
    std::vector<double> q;
    double a, b, expected, tolerance;
  };
  const Case cases[] = {
      {"linear, crosses at 12 Hz", {-1.2, 0.1}, 2, 24, 12.0, 1e-9},
      {"crosses on a scan point", {-1, 0.25}, 2, 24, 4.0, 1e-9},
      // 0.001 (x − 10)(x² + 1): |P| < 0.0001 within 0.001 Hz of the root.
      {"cubic, crosses at 10 Hz", {-0.01, 0.001, -0.01, 0.001}, 2, 24, 10.0, 1e-3},
      {"negative over the whole band: its start", {-1, 0.01}, 2, 24, 2.0, 0},
      {"positive at the start: 0", {0.5, 0.01}, 2, 24, 0.0, 0},
      {"zero at the start: the start", {-0.00005, 0}, 3, 24, 3.0, 0},
      {"empty polynomial", {}, 2, 24, 0.0, 0},
      {"band reversed", {-1.2, 0.1}, 24, 2, 0.0, 0},
      {"infinite band end", {-1.2, 0.1}, 2, inf, 0.0, 0},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    EXPECT_NEAR(KPLFOTEffort::FindZeroCrossing(tc.q, tc.a, tc.b), tc.expected, tc.tolerance);
  }
}

// An effort holding data on `frequencies` with the given values.
KPLFOTEffort EffortWith(const std::vector<double>& frequencies, const std::vector<double>& real,
                        const std::vector<double>& imag, const std::vector<double>& coherence,
                        int dataType = KPLFOTData::kReference) {
  KPLFOTData data;
  data.dataType = dataType;
  data.SetFrequencies(frequencies);
  data.SetCoherence(coherence);
  data.SetRealValues(real);
  data.SetImagValues(imag);
  KPLFOTEffort effort;
  effort.SetFOTData(data);
  return effort;
}

std::vector<double> Line(const std::vector<double>& f, double base, double slope) {
  std::vector<double> y;
  for (double x : f) y.push_back(base + slope * x);
  return y;
}

TEST(FOTEffortCalculate, LinearDataGivesKnownSummaryValues) {
  // Resistance 0.3 − 0.002 f, reactance −0.12 + 0.01 f (zero at 12 Hz).
  struct Case {
    const char* label;
    std::vector<double> frequencies;
    bool wholeBand;
    double wholeBandEnd;
  };
  const Case cases[] = {
      {"2-22 Hz: low band only", Grid(2, 2, 11), false, 0},
      {"2-30 Hz: low and whole band", Grid(2, 2, 15), true, 30},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    const std::vector<double> coherence(tc.frequencies.size(), 0.999);
    KPLFOTEffort e = EffortWith(tc.frequencies, Line(tc.frequencies, 0.3, -0.002), Line(tc.frequencies, -0.12, 0.01),
                                coherence);
    e.Calculate(nullptr);
    EXPECT_TRUE(e.IsModified());
    ASSERT_EQ(e.realFit.size(), 6u);
    ASSERT_EQ(e.imagFit.size(), 6u);
    EXPECT_NEAR(e.GetVariable(335), 12.0, 1e-5);
    EXPECT_NEAR(e.GetVariable(337), 0.3 - 0.002 * 13, 1e-6);  // mean over 2 … 24 Hz
    EXPECT_NEAR(e.GetVariable(338), -0.12 + 0.01 * 13, 1e-6);
    EXPECT_NEAR(e.GetVariable(336), -0.002, 1e-7);
    if (tc.wholeBand) {
      const double middle = (2 + tc.wholeBandEnd) / 2;
      EXPECT_NEAR(e.GetVariable(340), 0.3 - 0.002 * middle, 1e-6);
      EXPECT_NEAR(e.GetVariable(341), -0.12 + 0.01 * middle, 1e-6);
      EXPECT_NEAR(e.GetVariable(339), -0.002, 1e-7);
    } else {
      for (int n : {339, 340, 341}) EXPECT_EQ(e.GetVariable(n), 0.0) << n;
    }
    // Summary values are held as floats.
    for (int n = 334; n <= 341; ++n) {
      const double v = e.GetVariable(n);
      EXPECT_EQ(v, static_cast<double>(static_cast<float>(v))) << n;
    }
  }
}

TEST(FOTEffortCalculate, FitsAreTheLeastSquaresPolynomialsOfTheChosenDegree) {
  const std::vector<double> f = Grid(2, 2, 11);
  const std::vector<double> real = Wobbly(f, 0.3, -0.004, 0.00005);
  const std::vector<double> imag = Wobbly(f, -0.15, 0.02, -0.0003);
  KPLFOTEffort e = EffortWith(f, real, imag, std::vector<double>(f.size(), 0.999));
  e.Calculate(nullptr);
  struct Curve {
    const char* label;
    const std::vector<double>& y;
    const std::vector<double>& fit;
  };
  for (const Curve& curve : {Curve{"real", real, e.realFit}, Curve{"imaginary", imag, e.imagFit}}) {
    SCOPED_TRACE(curve.label);
    std::vector<double> sums;
    for (int j = 0; j <= 5; ++j) sums.push_back(static_cast<double>(ResidualSum(NormalEquations(f, curve.y, j), f, curve.y)));
    const int degree = KPLFOTEffort::ChooseDegree(sums, 11);
    const std::vector<long double> expected = NormalEquations(f, curve.y, degree);
    ASSERT_EQ(curve.fit.size(), 6u);
    for (std::size_t k = 0; k < 6; ++k) {
      const double e_k = k < expected.size() ? static_cast<double>(expected[k]) : 0.0;
      EXPECT_NEAR(curve.fit[k], e_k, 1e-7 * std::fabs(e_k) + 1e-14) << k;
    }
  }
}

TEST(FOTEffortCalculate, PredictedDataOfAReferenceSubject) {
  // Reference curves of a man of 60 y, 177 cm, 85 kg at 2 … 22 Hz (the
  // worked check values of the reference equations): the reactance crosses
  // zero between 10 and 12 Hz, near 11.9 Hz.
  const std::vector<double> f = Grid(2, 2, 11);
  const std::vector<double> real = {0.2544, 0.2544, 0.2478, 0.2346, 0.2214, 0.2139,
                                    0.2064, 0.2011, 0.1980, 0.1949, 0.1963};
  const std::vector<double> imag = {-0.1032, -0.1032, -0.0849, -0.0484, -0.0119, 0.0004,
                                    0.0126,  0.0262,  0.0410,  0.0559,  0.0700};
  KPLFOTData data;
  data.dataType = KPLFOTData::kReference;
  data.SetFrequencies(f);
  data.SetCoherence(std::vector<double>(f.size(), 0.999));
  data.SetRealValues(real);
  data.SetImagValues(imag);

  // The calculator's path: a cleared effort without data, the record, Calculate.
  KPLFOTEffort e;
  EXPECT_FALSE(e.HasData());
  e.Clear();
  e.SetFOTData(data);
  ASSERT_TRUE(e.HasData());
  KPLVisit visit;
  ReportCapture capture;
  e.Calculate(&visit);
  EXPECT_EQ(capture.Count(), 0u);

  EXPECT_EQ(e.validCount, 11);
  EXPECT_EQ(e.bandCount, 10);
  EXPECT_EQ(e.bandStatus, 1);
  EXPECT_EQ(e.fMin, 2.0);
  EXPECT_EQ(e.fMax, 22.0);
  EXPECT_EQ(e.realFit.size(), 6u);
  EXPECT_NEAR(e.GetVariable(335), 11.9, 0.3);
  EXPECT_GT(e.GetVariable(337), 0.19);
  EXPECT_LT(e.GetVariable(337), 0.26);
  EXPECT_LT(e.GetVariable(336), 0.0);  // resistance falls with frequency
  EXPECT_GT(e.GetVariable(338), -0.05);
  EXPECT_LT(e.GetVariable(338), 0.05);
  for (int n : {334, 339, 340, 341}) EXPECT_EQ(e.GetVariable(n), 0.0) << n;
  // The reference points themselves read back unchanged.
  EXPECT_EQ(e.GetVariable(342), 0.2544);
  EXPECT_EQ(e.GetVariable(365 + 10), 0.0700);
  EXPECT_EQ(e.GetVariable(388 + 3), 0.999);
}

TEST(FOTEffortCalculate, PointSelection) {
  const std::vector<double> f = Grid(2, 2, 11);
  const std::vector<double> real = Line(f, 0.3, -0.002), imag = Line(f, -0.12, 0.01);

  // An incoherent first point leaves the fits and the band.
  std::vector<double> coherence(f.size(), 0.999);
  coherence[0] = 0.949;
  KPLFOTEffort weak = EffortWith(f, real, imag, coherence);
  weak.Calculate(nullptr);
  EXPECT_EQ(weak.validFlags, (std::vector<std::int32_t>{0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(weak.validCount, 10);
  EXPECT_EQ(weak.fMin, 4.0);
  EXPECT_NEAR(weak.GetVariable(337), 0.3 - 0.002 * 14, 1e-6);  // mean over 4 … 24 Hz

  // A NaN value disqualifies its point the same way.
  std::vector<double> broken = real;
  broken[0] = std::numeric_limits<double>::quiet_NaN();
  KPLFOTEffort nan = EffortWith(f, broken, imag, std::vector<double>(f.size(), 0.999));
  nan.Calculate(nullptr);
  EXPECT_EQ(nan.validCount, 10);
  EXPECT_EQ(nan.fMin, 4.0);
  EXPECT_NEAR(nan.GetVariable(337), 0.3 - 0.002 * 14, 1e-6);
  EXPECT_NEAR(nan.GetVariable(335), 12.0, 1e-5);

  // Five valid points, none within 4 … 24 Hz: nothing is computed.
  const std::vector<double> high = Grid(26, 2, 5);
  KPLFOTEffort outside = EffortWith(high, Line(high, 0.3, 0), Line(high, 0.1, 0), std::vector<double>(5, 0.999));
  outside.SetVariable(337, 9.0);
  outside.Calculate(nullptr);
  EXPECT_EQ(outside.bandCount, 0);
  EXPECT_EQ(outside.bandStatus, 3);
  EXPECT_EQ(outside.fMin, 0.0);
  EXPECT_EQ(outside.GetVariable(337), 9.0);
  EXPECT_EQ(outside.GetVariable(335), 0.0);

  // Few valid points (status 2) still compute from what is there.
  const std::vector<double> four = {6, 8, 10, 14};
  KPLFOTEffort few = EffortWith(four, Line(four, 0.3, -0.002), Line(four, -0.12, 0.01), std::vector<double>(4, 0.99));
  few.Calculate(nullptr);
  EXPECT_EQ(few.bandStatus, 2);
  EXPECT_EQ(few.realFit.size(), 2u);
  EXPECT_NEAR(few.GetVariable(335), 12.0, 1e-5);
  EXPECT_NEAR(few.GetVariable(337), 0.3 - 0.002 * 15, 1e-6);  // mean over 6 … 24 Hz
}

TEST(FOTEffortCalculate, BadInputGivesZerosWithoutCrashing) {
  const std::vector<double> f = Grid(2, 2, 11);
  const std::vector<double> real = Line(f, 0.3, -0.002), imag = Line(f, -0.12, 0.01);
  struct Case {
    const char* label;
    KPLFOTEffort effort;
  };
  KPLFOTEffort countBeyondGrid = EffortWith(f, real, imag, std::vector<double>(f.size(), 0.999));
  countBeyondGrid.fotData.frequencyCount = 11;
  countBeyondGrid.fotData.frequencies.resize(3);
  Case cases[] = {
      {"no data", KPLFOTEffort()},
      {"every point incoherent", EffortWith(f, real, imag, std::vector<double>(f.size(), 0.5))},
      {"no coherence at all", EffortWith(f, real, imag, {})},
      {"three valid points", EffortWith({4, 6, 8}, {1, 1, 1}, {-1, 0, 1}, {1, 1, 1})},
      {"count beyond the grid (three points)", countBeyondGrid},
  };
  for (Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    ReportCapture capture;
    tc.effort.Calculate(nullptr);
    EXPECT_EQ(capture.Count(), 0u);
    EXPECT_TRUE(tc.effort.realFit.empty());
    EXPECT_TRUE(tc.effort.imagFit.empty());
    for (int n = 334; n <= 341; ++n) EXPECT_EQ(tc.effort.GetVariable(n), 0.0) << n;
  }

  // Resistance only: the reactance values stay unfitted.
  KPLFOTEffort realOnly = EffortWith(f, real, {}, std::vector<double>(f.size(), 0.999));
  realOnly.Calculate(nullptr);
  EXPECT_EQ(realOnly.realFit.size(), 6u);
  EXPECT_TRUE(realOnly.imagFit.empty());
  EXPECT_NEAR(realOnly.GetVariable(337), 0.3 - 0.002 * 13, 1e-6);
  EXPECT_EQ(realOnly.GetVariable(338), 0.0);
  EXPECT_EQ(realOnly.GetVariable(335), 0.0);
}

TEST(FOTEffortCalculate, ReportsManualEffortsAndLongGrids) {
  ReportCapture capture;
  KPLFOTEffort manual = EffortWith(Grid(2, 2, 11), Line(Grid(2, 2, 11), 0.3, 0), Line(Grid(2, 2, 11), -0.1, 0.01),
                                   std::vector<double>(11, 0.999));
  manual.manual = true;
  manual.Calculate(nullptr);
  EXPECT_TRUE(manual.realFit.empty());
  EXPECT_FALSE(manual.IsModified());

  const std::vector<double> f = Grid(2, 1, 25);
  KPLFOTEffort longGrid = EffortWith(f, Line(f, 0.3, -0.002), Line(f, -0.12, 0.01), std::vector<double>(25, 0.999));
  longGrid.Calculate(nullptr);
  EXPECT_NEAR(longGrid.GetVariable(335), 12.0, 1e-5);  // the calculation went on

  const auto reports = capture.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].message, "Manually entered FOT effort.");
  EXPECT_EQ(reports[0].lineNumber, 769);
  EXPECT_EQ(reports[0].moduleName, "KPLDomainObjects/KPLFOTEffort");
  EXPECT_EQ(reports[1].message, "Invalid Freq Count: 25.");
  EXPECT_EQ(reports[1].lineNumber, 1215);
}

TEST(FOTEffortCalculate, CorrectionIsSubtractedOnceByFrequency) {
  // Measurement on 2 … 8 Hz; correction from 4 Hz on.
  KPLFOTEffort e = EffortWith({2, 4, 6, 8}, {1, 1, 1, 1}, {2, 2, 2, 2}, {1, 1, 1, 1}, KPLFOTData::kUncorrected);
  e.correctionData.SetFrequencies({4, 6, 8});
  e.correctionData.SetRealValues({0.1, 0.2, 0.3});
  e.correctionData.SetImagValues({0.5, 0.6, 0.7});
  e.Calculate(nullptr);
  const std::vector<double> real = e.fotData.realValues, imag = e.fotData.imagValues;
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_DOUBLE_EQ(real[i], std::vector<double>({1, 0.9, 0.8, 0.7})[i]) << i;
    EXPECT_DOUBLE_EQ(imag[i], std::vector<double>({2, 1.5, 1.4, 1.3})[i]) << i;
  }
  EXPECT_EQ(e.fotData.dataType, KPLFOTData::kMeasured);
  e.Calculate(nullptr);
  EXPECT_EQ(e.fotData.realValues, real);

  // Other data types, and a start frequency off the grid, are left alone.
  for (int dataType : {KPLFOTData::kMeasured, KPLFOTData::kReference}) {
    KPLFOTEffort other = EffortWith({2, 4}, {1, 1}, {2, 2}, {1, 1}, dataType);
    other.correctionData.SetFrequencies({4});
    other.correctionData.SetRealValues({0.5});
    other.correctionData.SetImagValues({0.5});
    other.ApplyCorrection();
    EXPECT_EQ(other.fotData.realValues, (std::vector<double>{1, 1}));
  }
  KPLFOTEffort offGrid = EffortWith({2, 4}, {1, 1}, {2, 2}, {1, 1}, KPLFOTData::kUncorrected);
  offGrid.correctionData.SetFrequencies({5});
  offGrid.correctionData.SetRealValues({0.5});
  offGrid.ApplyCorrection();
  EXPECT_EQ(offGrid.fotData.realValues, (std::vector<double>{1, 1}));
  // A correction shorter in its value arrays than its grid subtracts what it has.
  KPLFOTEffort shortCorrection = EffortWith({2, 4}, {1, 1}, {2, 2}, {1, 1}, KPLFOTData::kUncorrected);
  shortCorrection.correctionData.SetFrequencies({2, 4});
  shortCorrection.correctionData.SetRealValues({0.5});
  shortCorrection.ApplyCorrection();
  EXPECT_EQ(shortCorrection.fotData.realValues, (std::vector<double>{0.5, 1}));
  EXPECT_EQ(shortCorrection.fotData.imagValues, (std::vector<double>{2, 2}));
}

TEST(FOTEffort, CrossTestVariablesNeedAVisit) {
  ReportCapture capture;
  KPLFOTEffort e;
  e.ComputeCrossTestVariables(nullptr);
  EXPECT_FALSE(e.IsModified());
  e.LookupCrossTestVariables(nullptr);
  KPLVisit visit;
  e.ComputeCrossTestVariables(&visit);
  EXPECT_TRUE(e.IsModified());
  const auto reports = capture.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].message, "Visit not initialized.");
  EXPECT_EQ(reports[0].lineNumber, 807);
  EXPECT_EQ(reports[1].message, "Visit not initialized.");
  EXPECT_EQ(reports[1].lineNumber, 830);
}

}  // namespace
