#include "KPLDomainObjects/KPLFOTEffort.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "KPLClassLibrary/KplGlobal.h"

namespace {

constexpr const char* kModule = "KPLDomainObjects/KPLFOTEffort";
// Report lines fixed by the design.
constexpr int kGetVariableLine = 677;
constexpr int kSetVariableLine = 348;
constexpr int kManualLine = 769;
constexpr int kComputeCrossTestLine = 807;
constexpr int kLookupCrossTestLine = 830;
constexpr int kFrequencyCountLine = 1215;

// A measurement with this many frequencies or more is reported (and used).
constexpr std::int32_t kReportedFrequencyCount = 25;
// Edges of the band that bandCount counts, [Hz].
constexpr double kBandLow = 3.9999;
constexpr double kBandHigh = 24.0001;
// Zero-crossing search: scan step [Hz], |P| that counts as zero, bracket
// width that ends the search [Hz], and a bound on the false-position steps.
constexpr double kScanStep = 0.5;
constexpr double kZeroTolerance = 0.0001;
constexpr double kBracketWidth = 0.0001;
constexpr int kMaxFalsePositionSteps = 1000;
// Degree choice: the relative drop in residual variance that counts.
constexpr double kVarianceRatio = 1.001;

// Position in `summary` of variables 334 … 341.
constexpr std::array<std::size_t, 8> kSummarySlot = {0, 1, 4, 2, 3, 7, 5, 6};

bool InRange(std::int32_t number, std::int32_t first, std::int32_t length) {
  return number >= first && number < first + length;
}

double ValueAt(const std::vector<double>& values, std::int32_t k) {
  return static_cast<std::size_t>(k) < values.size() ? values[static_cast<std::size_t>(k)] : 0.0;
}

using Real = long double;
using RealPolynomial = std::vector<Real>;  // ascending powers

// Inner product of two polynomials in t over the points, from the power sums
// moments[k] = Σ t^k.
Real Inner(const RealPolynomial& u, const RealPolynomial& v, const std::vector<Real>& moments) {
  Real sum = 0;
  for (std::size_t k = 0; k < u.size(); ++k) {
    if (u[k] == 0) continue;
    for (std::size_t l = 0; l < v.size(); ++l) sum += u[k] * v[l] * moments[k + l];
  }
  return sum;
}

// Polynomials p_0 … p_n in t, orthonormal over the points; a degree that the
// points cannot carry (too few distinct t) gets the zero polynomial.
std::vector<RealPolynomial> OrthonormalBasis(const std::vector<Real>& moments, std::size_t n) {
  // Below this share of its original norm, what is left of t^j is rounding.
  const Real degenerate = 1000 * std::numeric_limits<Real>::epsilon();
  std::vector<RealPolynomial> basis;
  for (std::size_t j = 0; j <= n; ++j) {
    RealPolynomial v(n + 1, 0);
    v[j] = 1;
    // Gram-Schmidt, run twice to restore orthogonality lost to rounding.
    for (int pass = 0; pass < 2; ++pass) {
      for (const RealPolynomial& p : basis) {
        const Real r = Inner(v, p, moments);
        for (std::size_t k = 0; k <= n; ++k) v[k] -= r * p[k];
      }
    }
    const Real norm2 = Inner(v, v, moments);
    if (!(norm2 > degenerate * moments[2 * j])) {
      std::fill(v.begin(), v.end(), Real{0});
    } else {
      const Real norm = std::sqrt(norm2);
      for (Real& c : v) c /= norm;
    }
    basis.push_back(std::move(v));
  }
  return basis;
}

// Coefficients in t = (x − center) / scale rewritten in powers of x.
std::vector<double> ToPowersOfX(const RealPolynomial& inT, Real center, Real scale) {
  const std::size_t m = inT.size();
  RealPolynomial inX(m, 0);
  RealPolynomial power(m, 0);  // t^k in powers of x
  power[0] = 1;
  for (std::size_t k = 0; k < m; ++k) {
    for (std::size_t l = 0; l <= k; ++l) inX[l] += inT[k] * power[l];
    if (k + 1 == m) break;
    // power *= (x − center) / scale, from the top down in place
    for (std::size_t l = k + 1; l-- > 0;) {
      power[l + 1] += power[l] / scale;
      power[l] *= -center / scale;
    }
  }
  return std::vector<double>(inX.begin(), inX.end());
}

}  // namespace

void KPLFOTEffort::Clear() {
  KPLPFEffort::Clear();
  testType = kTestType;
  summary = {};
  fotData.Clear();
  correctionData.Clear();
  realFit.clear();
  imagFit.clear();
  validFlags.clear();
  validCount = 0;
  bandCount = 0;
  firstValid = 0;
  lastValid = 0;
  fMin = 0.0;
  fMax = 0.0;
  bandStatus = 0;
  spareValue = -1.0;
  maxDegree = 5;
}

double KPLFOTEffort::GetVariable(std::int32_t variableNumber) const {
  if (InRange(variableNumber, kFirstSummaryVariable, 8)) {
    return summary[kSummarySlot[static_cast<std::size_t>(variableNumber - kFirstSummaryVariable)]];
  }
  if (InRange(variableNumber, kFirstRealVariable, kPointVariables)) {
    return ValueAt(fotData.realValues, variableNumber - kFirstRealVariable);
  }
  if (InRange(variableNumber, kFirstImagVariable, kPointVariables)) {
    return ValueAt(fotData.imagValues, variableNumber - kFirstImagVariable);
  }
  if (InRange(variableNumber, kFirstCoherenceVariable, kPointVariables)) {
    return ValueAt(fotData.coherence, variableNumber - kFirstCoherenceVariable);
  }
  ReportAssertion(0, kModule, kGetVariableLine, KplFormat("Invalid FOT variable: %d.", variableNumber));
  return 0.0;
}

void KPLFOTEffort::SetVariable(std::int32_t variableNumber, double value) {
  if (InRange(variableNumber, kFirstSummaryVariable, 8)) {
    summary[kSummarySlot[static_cast<std::size_t>(variableNumber - kFirstSummaryVariable)]] =
        static_cast<float>(value);
  } else if (InRange(variableNumber, kFirstRealVariable, kPointVariables)) {
    fotData.SetRealAt(variableNumber - kFirstRealVariable, value);
  } else if (InRange(variableNumber, kFirstImagVariable, kPointVariables)) {
    fotData.SetImagAt(variableNumber - kFirstImagVariable, value);
  } else if (InRange(variableNumber, kFirstCoherenceVariable, kPointVariables)) {
    fotData.SetCoherenceAt(variableNumber - kFirstCoherenceVariable, value);
  } else {
    ReportAssertion(0, kModule, kSetVariableLine, KplFormat("Invalid FOT variable: %d.", variableNumber));
  }
}

void KPLFOTEffort::SetFOTData(const KPLFOTData& data) { fotData = data; }

bool KPLFOTEffort::HasData() {
  const auto length = fotData.frequencies.size();
  fotData.frequencyCount = static_cast<std::int32_t>(length);
  const bool carriesCoherence =
      fotData.dataType == KPLFOTData::kUncorrected || fotData.dataType == KPLFOTData::kMeasured;
  if (carriesCoherence && fotData.coherence.size() != length) return false;
  if (length == 0) return false;
  return (fotData.imagValues.empty() || fotData.imagValues.size() == length) &&
         (fotData.realValues.empty() || fotData.realValues.size() == length);
}

void KPLFOTEffort::ComputeCrossTestVariables(KPLVisit* visit) {
  if (visit == nullptr) {
    ReportAssertion(0, kModule, kComputeCrossTestLine, "Visit not initialized.");
    return;
  }
  if (!manual) LookupCrossTestVariables(visit);
  SetModified(true);
}

void KPLFOTEffort::LookupCrossTestVariables(KPLVisit* visit) {
  if (visit == nullptr) ReportAssertion(0, kModule, kLookupCrossTestLine, "Visit not initialized.");
}

void KPLFOTEffort::Calculate(KPLVisit* /*visit*/) {
  if (manual) {
    ReportAssertion(0, kModule, kManualLine, "Manually entered FOT effort.");
    return;
  }
  ApplyCorrection();
  SelectPoints();
  const std::int32_t count = UsableCount();
  if (count == 0) {
    realFit.clear();
    imagFit.clear();
  } else {
    FitCurves(fotData.frequencies.front(), fotData.frequencies[static_cast<std::size_t>(count - 1)], maxDegree);
  }
  if (bandStatus != 3) {
    SetVariable(kLowBandRealVariable, MeanValue(realFit, fMin, kLowBandEnd));
    SetVariable(kLowBandImagVariable, MeanValue(imagFit, fMin, kLowBandEnd));
    SetVariable(kLowBandSlopeVariable, MeanSlope(realFit, fMin, kLowBandEnd));
    SetVariable(kResonantFrequencyVariable, FindZeroCrossing(imagFit, fMin, kLowBandEnd));
    if (fMax > kLowBandEnd) {
      SetVariable(kWholeBandRealVariable, MeanValue(realFit, fMin, fMax));
      SetVariable(kWholeBandImagVariable, MeanValue(imagFit, fMin, fMax));
      SetVariable(kWholeBandSlopeVariable, MeanSlope(realFit, fMin, fMax));
      SetVariable(kResonantFrequencyVariable, FindZeroCrossing(imagFit, fMin, fMax));
    }
  }
  SetModified(true);
}

std::int32_t KPLFOTEffort::UsableCount() const {
  const auto held = static_cast<std::int32_t>(fotData.frequencies.size());
  return std::clamp(fotData.frequencyCount, std::int32_t{0}, held);
}

void KPLFOTEffort::ApplyCorrection() {
  const std::int32_t count = UsableCount();
  if (correctionData.frequencyCount <= 0 || fotData.dataType != KPLFOTData::kUncorrected || count == 0) return;
  std::int32_t start = -1;
  for (std::int32_t i = 0; i < count; ++i) {
    if (fotData.frequencies[static_cast<std::size_t>(i)] == correctionData.startFrequency) start = i;
  }
  if (start < 0) return;
  // Correction index 0 belongs to the measurement's index `start`.
  const auto subtract = [](std::vector<double>& values, const std::vector<double>& correction, std::size_t i,
                           std::size_t j) {
    if (i < values.size() && j < correction.size()) values[i] -= correction[j];
  };
  for (std::int32_t i = start; i < count && i - start < correctionData.frequencyCount; ++i) {
    const auto index = static_cast<std::size_t>(i);
    const auto correctionIndex = static_cast<std::size_t>(i - start);
    subtract(fotData.realValues, correctionData.realValues, index, correctionIndex);
    subtract(fotData.imagValues, correctionData.imagValues, index, correctionIndex);
  }
  fotData.dataType = KPLFOTData::kMeasured;
}

void KPLFOTEffort::SelectPoints() {
  const std::int32_t count = UsableCount();
  if (count == 0) return;
  validFlags.assign(static_cast<std::size_t>(count), 0);
  validCount = 0;
  bandCount = 0;
  firstValid = count - 1;
  lastValid = 0;
  bool anyValid = false;
  for (std::int32_t i = 0; i < count; ++i) {
    const double frequency = fotData.frequencies[static_cast<std::size_t>(i)];
    // A point with a non-finite frequency or value cannot take part.
    const bool valid = ValueAt(fotData.coherence, i) >= kMinCoherence && std::isfinite(frequency) &&
                       std::isfinite(ValueAt(fotData.realValues, i)) &&
                       std::isfinite(ValueAt(fotData.imagValues, i));
    if (!valid) continue;
    validFlags[static_cast<std::size_t>(i)] = 1;
    ++validCount;
    if (frequency > kBandLow && frequency < kBandHigh) ++bandCount;
    if (!anyValid) firstValid = i;
    lastValid = i;
    anyValid = true;
  }
  const std::int32_t needed = maxDegree / 2 + 3;
  if (bandCount > needed) {
    bandStatus = 1;
  } else if (validCount < needed) {
    bandStatus = 2;
  } else {
    bandStatus = 3;
  }
  fMin = 0.0;
  fMax = 0.0;
  if (bandStatus != 3) {
    fMin = fotData.frequencies[static_cast<std::size_t>(firstValid)];
    fMax = fotData.frequencies[static_cast<std::size_t>(lastValid)];
  }
  spareValue = -1.0;
}

void KPLFOTEffort::FitCurves(double fFirst, double fLast, std::int32_t degreeLimit) {
  realFit.clear();
  imagFit.clear();
  const std::int32_t count = UsableCount();
  if (count == 0) return;
  if (fotData.frequencyCount >= kReportedFrequencyCount) {
    ReportAssertion(0, kModule, kFrequencyCountLine, KplFormat("Invalid Freq Count: %d.", fotData.frequencyCount));
  }
  std::vector<std::size_t> points;
  for (std::int32_t i = 0; i < count; ++i) {
    const auto index = static_cast<std::size_t>(i);
    const double frequency = fotData.frequencies[index];
    if (index < validFlags.size() && validFlags[index] != 0 && frequency >= fFirst && frequency <= fLast) {
      points.push_back(index);
    }
  }
  const auto pointCount = static_cast<std::int32_t>(points.size());
  if (pointCount <= 3) return;
  const std::int32_t degree = std::clamp(std::min(pointCount - 3, degreeLimit), std::int32_t{0}, kMaxFitDegree);

  std::vector<double> x;
  for (std::size_t index : points) x.push_back(fotData.frequencies[index]);
  // A curve whose values do not reach every point keeps an empty fit.
  const auto fit = [&](const std::vector<double>& values, std::vector<double>& out) {
    if (values.size() <= points.back()) return;
    std::vector<double> y;
    for (std::size_t index : points) y.push_back(values[index]);
    PolynomialFits fits = FitPolynomials(x, y, degree);
    if (fits.coefficients.empty()) return;
    const std::int32_t chosen = ChooseDegree(fits.residualSums, pointCount);
    out = std::move(fits.coefficients[static_cast<std::size_t>(chosen)]);
    out.resize(static_cast<std::size_t>(degree) + 1, 0.0);
  };
  fit(fotData.realValues, realFit);
  fit(fotData.imagValues, imagFit);
}

KPLFOTEffort::PolynomialFits KPLFOTEffort::FitPolynomials(const std::vector<double>& x, const std::vector<double>& y,
                                                          std::int32_t n) {
  PolynomialFits result;
  if (n < 0 || x.empty() || x.size() != y.size()) return result;
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) return result;
  }
  const auto degree = static_cast<std::size_t>(std::min(n, kMaxFitDegree));

  // Work in t = (x − center) / scale ∈ [−1, 1]: the power sums of raw
  // frequencies up to x^(2n) would lose most of their digits.
  const auto [low, high] = std::minmax_element(x.begin(), x.end());
  const Real center = (static_cast<Real>(*low) + *high) / 2;
  Real scale = (static_cast<Real>(*high) - *low) / 2;
  if (scale == 0) scale = 1;

  std::vector<Real> moments(2 * degree + 1, 0);  // Σ t^k
  std::vector<Real> yMoments(degree + 1, 0);     // Σ y·t^k
  Real sumY2 = 0;                                // Σ y²
  for (std::size_t i = 0; i < x.size(); ++i) {
    const Real t = (x[i] - center) / scale;
    const Real value = y[i];
    Real power = 1;
    for (std::size_t k = 0; k <= 2 * degree; ++k) {
      moments[k] += power;
      if (k <= degree) yMoments[k] += value * power;
      power *= t;
    }
    sumY2 += value * value;
  }

  const std::vector<RealPolynomial> basis = OrthonormalBasis(moments, degree);
  RealPolynomial fitInT(degree + 1, 0);
  Real explained = 0;  // Σ c_i² so far
  for (std::size_t j = 0; j <= degree; ++j) {
    Real c = 0;  // <y, p_j>
    for (std::size_t k = 0; k <= degree; ++k) c += basis[j][k] * yMoments[k];
    for (std::size_t k = 0; k <= degree; ++k) fitInT[k] += c * basis[j][k];
    explained += c * c;
    RealPolynomial head(fitInT.begin(), fitInT.begin() + static_cast<std::ptrdiff_t>(j) + 1);
    result.coefficients.push_back(ToPowersOfX(head, center, scale));
    result.residualSums.push_back(static_cast<double>(std::max(Real{0}, sumY2 - explained)));
  }
  return result;
}

std::int32_t KPLFOTEffort::ChooseDegree(const std::vector<double>& residualSums, std::int32_t pointCount) {
  if (residualSums.empty()) return 0;
  const auto n = static_cast<std::int32_t>(residualSums.size()) - 1;
  if (pointCount - 1 - n <= 0) return n;  // no degrees of freedom left to compare
  std::vector<double> variance;
  for (std::int32_t j = 0; j <= n; ++j) {
    variance.push_back(residualSums[static_cast<std::size_t>(j)] / (pointCount - 1 - j));
  }
  // The comparison starts from the residual sum of degree n, not its variance.
  double best = residualSums[static_cast<std::size_t>(n)];
  std::int32_t chosen = n;
  for (std::int32_t j = 0; j <= n; ++j) {
    if (variance[static_cast<std::size_t>(j)] < best) {
      best = variance[static_cast<std::size_t>(j)];
      chosen = j;
    }
  }
  if (chosen != 0 && chosen != n) return chosen;
  chosen = n;
  for (std::int32_t k = n; k >= 1; --k) {
    const double lower = variance[static_cast<std::size_t>(k - 1)];
    const double upper = variance[static_cast<std::size_t>(k)];
    // lower / upper ≥ 1.001, with a zero upper variance beating any positive lower one
    const bool drops = upper > 0 ? lower / upper >= kVarianceRatio : lower > 0;
    if (drops) {
      chosen = std::min(k + 1, n);
      break;
    }
  }
  return chosen;
}

double KPLFOTEffort::Evaluate(const std::vector<double>& q, double x) {
  double value = 0.0;
  for (auto it = q.rbegin(); it != q.rend(); ++it) value = value * x + *it;
  return value;
}

double KPLFOTEffort::MeanValue(const std::vector<double>& q, double a, double b) {
  if (q.empty()) return 0.0;
  // The mean of x^k over [a, b] is (b^(k+1) − a^(k+1)) / ((k+1)(b − a)); over
  // a band of one point it is a^k.
  if (a == b) return Evaluate(q, a);
  double sum = 0.0;
  double powerA = a, powerB = b;
  for (std::size_t k = 0; k < q.size(); ++k) {
    sum += q[k] * (powerB - powerA) / (static_cast<double>(k + 1) * (b - a));
    powerA *= a;
    powerB *= b;
  }
  return sum;
}

double KPLFOTEffort::MeanSlope(const std::vector<double>& q, double a, double b) {
  if (q.size() < 2) return 0.0;
  if (a == b) {
    double slope = 0.0;
    for (std::size_t k = q.size() - 1; k >= 1; --k) slope = slope * a + static_cast<double>(k) * q[k];
    return slope;
  }
  double sum = 0.0;
  double powerA = a, powerB = b;  // a^k, b^k
  for (std::size_t k = 1; k < q.size(); ++k) {
    const double weight = (powerB - powerA) / (static_cast<double>(k) * (b - a));  // mean of x^(k−1)
    sum += static_cast<double>(k) * q[k] * weight;
    powerA *= a;
    powerB *= b;
  }
  return sum;
}

double KPLFOTEffort::FindZeroCrossing(const std::vector<double>& q, double a, double b) {
  if (q.empty() || a > b || !std::isfinite(a) || !std::isfinite(b)) return 0.0;
  const double atStart = Evaluate(q, a);
  if (atStart > 0) return 0.0;
  if (std::fabs(atStart) < kZeroTolerance) return a;

  double highX = 0.0, highP = 0.0;
  bool found = false;
  for (int step = 0;; ++step) {
    const double x = a + kScanStep * step;
    if (!(x <= b)) break;
    const double p = Evaluate(q, x);
    if (p > 0) {
      highX = x;
      highP = p;
      found = true;
      break;
    }
  }
  if (!found) return a;
  if (std::fabs(highP) < kZeroTolerance) return highX;

  double lowX = a, lowP = atStart;
  for (int step = 0; step < kMaxFalsePositionSteps && highX - lowX > kBracketWidth; ++step) {
    const double middleX = lowX - lowP * (highX - lowX) / (highP - lowP);
    const double middleP = Evaluate(q, middleX);
    if (std::fabs(middleP) < kZeroTolerance) return middleX;
    if (middleP >= 0) {
      highX = middleX;
      highP = middleP;
    } else {
      lowX = middleX;
      lowP = middleP;
    }
  }
  return (lowX + highX) / 2;
}
