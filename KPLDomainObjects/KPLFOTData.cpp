#include "KPLDomainObjects/KPLFOTData.h"

void KPLFOTData::Clear() {
  dataType = kNone;
  coherence.clear();
  realValues.clear();
  imagValues.clear();
  frequencies.clear();
  frequencyCount = 0;
  startFrequency = 4.0;
  KPLDomainObject::Clear();
}

void KPLFOTData::SetFrequencies(const std::vector<double>& values) {
  frequencies = values;
  frequencyCount = static_cast<std::int32_t>(frequencies.size());
  if (!frequencies.empty()) startFrequency = frequencies.front();
}

void KPLFOTData::SetCoherence(const std::vector<double>& values) { coherence = values; }

void KPLFOTData::SetRealValues(const std::vector<double>& values) { realValues = values; }

void KPLFOTData::SetImagValues(const std::vector<double>& values) { imagValues = values; }

void KPLFOTData::SetCoherenceAt(std::int32_t k, double value) { SetAt(coherence, k, value); }

void KPLFOTData::SetRealAt(std::int32_t k, double value) { SetAt(realValues, k, value); }

void KPLFOTData::SetImagAt(std::int32_t k, double value) { SetAt(imagValues, k, value); }

void KPLFOTData::SetAt(std::vector<double>& values, std::int32_t k, double value) {
  if (k < 0) return;
  const auto index = static_cast<std::size_t>(k);
  if (values.size() <= index) values.resize(index + 1, 0.0);
  values[index] = value;
  const double gridFrequency = 4.0 + 2.0 * k;  // [Hz]
  if (frequencies.empty()) {
    frequencies.push_back(gridFrequency);
  } else if (frequencies.size() <= index) {
    frequencies.resize(index + 1, 0.0);
    frequencies[index] = gridFrequency;
  }
  frequencyCount = static_cast<std::int32_t>(frequencies.size());
}
