// KPLFOTEffort: one forced-oscillation effort (test type 25): the measurement,
// least-squares polynomial fits of resistance and reactance against frequency,
// and the summary values derived from them (band means, mean slopes, resonant
// frequency). The PF calculator fills one with predicted reference data,
// calls Calculate and reads the summary values back through GetVariable.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "KPLDomainObjects/KPLFOTData.h"
#include "KPLDomainObjects/KPLPFEffort.h"

class KPLFOTEffort : public KPLPFEffort {
 public:
  static constexpr std::int32_t kTestType = 25;
  // Variables 334 … 341 (summary values), then 23 frequencies each of real
  // values, imaginary values and coherence.
  static constexpr std::int32_t kFirstSummaryVariable = 334;
  static constexpr std::int32_t kResonantFrequencyVariable = 335;  // [Hz]
  static constexpr std::int32_t kLowBandSlopeVariable = 336;
  static constexpr std::int32_t kLowBandRealVariable = 337;
  static constexpr std::int32_t kLowBandImagVariable = 338;
  static constexpr std::int32_t kWholeBandSlopeVariable = 339;
  static constexpr std::int32_t kWholeBandRealVariable = 340;
  static constexpr std::int32_t kWholeBandImagVariable = 341;
  static constexpr std::int32_t kFirstRealVariable = 342;
  static constexpr std::int32_t kFirstImagVariable = 365;
  static constexpr std::int32_t kFirstCoherenceVariable = 388;
  static constexpr std::int32_t kPointVariables = 23;

  static constexpr double kMinCoherence = 0.95;     // a point at least this coherent is valid
  static constexpr double kLowBandEnd = 24.0;       // [Hz]
  static constexpr std::int32_t kMaxFitDegree = 22;  // highest degree FitPolynomials builds

  KPLFOTEffort() { KPLFOTEffort::Clear(); }

  void Clear() override;
  // Summary values widen their stored float; point values answer 0.0 beyond
  // their array. Any other number is reported and answers 0.0.
  [[nodiscard]] double GetVariable(std::int32_t variableNumber) const override;
  using KPLPFEffort::GetVariable;
  void SetVariable(std::int32_t variableNumber, double value) override;
  void ComputeCrossTestVariables(KPLVisit* visit) override;
  void LookupCrossTestVariables(KPLVisit* visit) override;
  // Correction, point selection, fits and summary values; refused for a
  // manual effort. The visit is not read.
  void Calculate(KPLVisit* visit) override;

  // fotData := data.
  void SetFOTData(const KPLFOTData& data);
  // Whether fotData holds a usable measurement; updates its frequencyCount.
  [[nodiscard]] bool HasData();

  // Subtracts correctionData from a type-1 measurement, frequency by
  // frequency from the correction's start frequency on; the record becomes
  // type 2 so that it is corrected once.
  void ApplyCorrection();
  // Marks the valid frequencies and sets the counts, bandStatus, fMin, fMax.
  void SelectPoints();
  // Fits realFit and imagFit through the valid points with fFirst ≤ f ≤ fLast,
  // degree at most degreeLimit, the degree chosen from the residual variances.
  // Fewer than 4 points leave both fits empty.
  void FitCurves(double fFirst, double fLast, std::int32_t degreeLimit);

  // Least-squares polynomials of every degree 0 … n through (x, y).
  struct PolynomialFits {
    // coefficients[j]: the degree-j fit, j + 1 coefficients, ascending powers of x.
    std::vector<std::vector<double>> coefficients;
    // residualSums[j]: Σ (y − fit_j(x))².
    std::vector<double> residualSums;
  };
  // Built from polynomials orthonormal over the points. Answers empty fits
  // for no points, n < 0 or a non-finite coordinate; n is capped at
  // kMaxFitDegree. Degrees beyond the number of distinct x repeat the highest
  // fit that the points determine.
  [[nodiscard]] static PolynomialFits FitPolynomials(const std::vector<double>& x,
                                                     const std::vector<double>& y, std::int32_t n);
  // The degree to use given residualSums[0 … n] of pointCount points
  // (n ≤ pointCount − 3): the smallest residual variance, with the walk down
  // from n when that lands on 0 or n.
  [[nodiscard]] static std::int32_t ChooseDegree(const std::vector<double>& residualSums,
                                                 std::int32_t pointCount);

  // Helpers on a coefficient array q (ascending powers).
  // q0 + q1·x + … (Horner); 0 for an empty q.
  [[nodiscard]] static double Evaluate(const std::vector<double>& q, double x);
  // Mean of the polynomial over [a, b]; its value at a when a == b.
  [[nodiscard]] static double MeanValue(const std::vector<double>& q, double a, double b);
  // Mean of the derivative over [a, b]; the derivative at a when a == b.
  [[nodiscard]] static double MeanSlope(const std::vector<double>& q, double a, double b);
  // Where the polynomial rises through zero in [a, b] (false position):
  // 0 when empty, a > b, a bound is not finite or P(a) > 0; a when P stays
  // below zero.
  [[nodiscard]] static double FindZeroCrossing(const std::vector<double>& q, double a, double b);

  KPLFOTData fotData;
  KPLFOTData correctionData;        // subtracted from a type-1 measurement
  std::vector<double> realFit;      // resistance polynomial, ascending powers
  std::vector<double> imagFit;      // reactance polynomial, ascending powers
  std::array<float, 8> summary{};   // variables 334, 335, 337, 338, 336, 340, 341, 339
  // Valid: coherence ≥ 0.95 and a finite frequency and values.
  std::int32_t validCount = 0;
  std::int32_t bandCount = 0;       // of those, the ones within 4 … 24 Hz
  std::int32_t firstValid = 0;
  std::int32_t lastValid = 0;
  double fMin = 0.0;  // [Hz] first valid frequency
  double fMax = 0.0;  // [Hz] last valid frequency
  // 1: enough valid points within 4 … 24 Hz; 2: few valid points at all;
  // 3: enough valid points but too few within the band (nothing computed).
  std::int32_t bandStatus = 0;
  std::vector<std::int32_t> validFlags;
  double spareValue = -1.0;
  std::int32_t maxDegree = 5;  // highest degree of the fits

 private:
  // frequencyCount bounded by the grid actually held.
  [[nodiscard]] std::int32_t UsableCount() const;
};
