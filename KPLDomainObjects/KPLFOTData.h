// KPLFOTData: one forced-oscillation measurement (or predicted reference
// data): real and imaginary impedance and coherence per frequency.
#pragma once

#include <cstdint>
#include <vector>

#include "KPLDomainObjects/KPLDomainObject.h"

class KPLFOTData : public KPLDomainObject {
 public:
  // Values of dataType. Types 1 and 2 are measurements with a coherence per
  // frequency; the effort subtracts its correction from type 1 once, and the
  // corrected record becomes type 2.
  enum DataType : std::int32_t { kNone = 0, kUncorrected = 1, kMeasured = 2, kReference = 3 };

  KPLFOTData() { KPLFOTData::Clear(); }

  void Clear() override;

  // The grid, its length and its first frequency.
  void SetFrequencies(const std::vector<double>& values);
  void SetCoherence(const std::vector<double>& values);
  void SetRealValues(const std::vector<double>& values);
  void SetImagValues(const std::vector<double>& values);
  // Store one value at index k (growing the array with zeros), extend the
  // grid 4, 6, 8, … Hz to cover k, and update frequencyCount.
  void SetCoherenceAt(std::int32_t k, double value);
  void SetRealAt(std::int32_t k, double value);
  void SetImagAt(std::int32_t k, double value);

  std::vector<double> coherence;    // 0 to 1, per frequency
  std::vector<double> realValues;   // resistance, per frequency
  std::vector<double> imagValues;   // reactance, per frequency
  std::vector<double> frequencies;  // [Hz], ascending
  std::int32_t dataType = kNone;
  std::int32_t frequencyCount = 0;  // frequencies in use
  double startFrequency = 4.0;      // [Hz]

 private:
  void SetAt(std::vector<double>& values, std::int32_t k, double value);
};
