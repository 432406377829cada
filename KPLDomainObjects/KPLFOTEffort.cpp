#include "KPLDomainObjects/KPLFOTEffort.h"

#include "KPLClassLibrary/KplGlobal.h"

namespace {

constexpr const char* kModule = "KPLDomainObjects/KPLFOTEffort";
// Report lines fixed by the design.
constexpr int kGetVariableLine = 677;
constexpr int kSetVariableLine = 348;

// Position in `summary` of variables 334 … 341.
constexpr std::array<std::size_t, 8> kSummarySlot = {0, 1, 4, 2, 3, 7, 5, 6};

bool InRange(std::int32_t number, std::int32_t first, std::int32_t length) {
  return number >= first && number < first + length;
}

double ValueAt(const std::vector<double>& values, std::int32_t k) {
  return static_cast<std::size_t>(k) < values.size() ? values[static_cast<std::size_t>(k)] : 0.0;
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
      fotData.dataType == KPLFOTData::kCorrected || fotData.dataType == KPLFOTData::kMeasured;
  if (carriesCoherence && fotData.coherence.size() != length) return false;
  if (length == 0) return false;
  return (fotData.imagValues.empty() || fotData.imagValues.size() == length) &&
         (fotData.realValues.empty() || fotData.realValues.size() == length);
}
