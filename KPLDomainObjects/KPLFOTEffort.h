// KPLFOTEffort: one forced-oscillation effort (test type 25): the measurement,
// its fitted resistance and reactance curves and the summary values derived
// from them.
//
// This class holds the data and answers the variables; the fits and summary
// calculations belong to the forced-oscillation code.
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
  static constexpr std::int32_t kFirstRealVariable = 342;
  static constexpr std::int32_t kFirstImagVariable = 365;
  static constexpr std::int32_t kFirstCoherenceVariable = 388;
  static constexpr std::int32_t kPointVariables = 23;

  KPLFOTEffort() { KPLFOTEffort::Clear(); }

  void Clear() override;
  [[nodiscard]] double GetVariable(std::int32_t variableNumber) const override;
  using KPLPFEffort::GetVariable;
  void SetVariable(std::int32_t variableNumber, double value) override;

  // fotData := data.
  void SetFOTData(const KPLFOTData& data);
  // Whether fotData holds a usable measurement; updates its frequencyCount.
  [[nodiscard]] bool HasData();

  KPLFOTData fotData;
  KPLFOTData correctionData;        // subtracted from a type-1 measurement
  std::vector<double> realFit;      // resistance polynomial, ascending powers
  std::vector<double> imagFit;      // reactance polynomial, ascending powers
  std::array<float, 8> summary{};   // variables 334, 335, 337, 338, 336, 340, 341, 339
  std::int32_t validCount = 0;      // frequencies with coherence ≥ 0.95
  std::int32_t bandCount = 0;       // of those, the ones within 4 … 24 Hz
  std::int32_t firstValid = 0;
  std::int32_t lastValid = 0;
  double fMin = 0.0;  // [Hz]
  double fMax = 0.0;  // [Hz]
  std::int32_t bandStatus = 0;
  std::vector<std::int32_t> validFlags;
  double spareValue = -1.0;
  std::int32_t maxDegree = 5;  // highest degree of the fits
};
