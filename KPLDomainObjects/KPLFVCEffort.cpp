#include "KPLDomainObjects/KPLFVCEffort.h"

#include <algorithm>

#include "KPLClassLibrary/KplGlobal.h"

namespace {

constexpr const char* kModule = "KPLDomainObjects/KPLFVCEffort";
// Report lines fixed by the design.
constexpr int kGetVariableLine = 625;
constexpr int kSetVariableLine = 411;

// Position of a variable number in the value array, or −1.
int Slot(std::int32_t variableNumber) {
  const auto& numbers = KPLFVCEffort::kVariableNumbers;
  const auto* found = std::find(numbers.begin(), numbers.end(), variableNumber);
  return found == numbers.end() ? -1 : static_cast<int>(found - numbers.begin());
}

}  // namespace

void KPLFVCEffort::Clear() {
  KPLPFEffort::Clear();
  testType = kTestType;
  codes.clear();
  values_ = {};
}

double KPLFVCEffort::GetVariable(std::int32_t variableNumber) const {
  const int slot = Slot(variableNumber);
  if (slot < 0) {
    ReportAssertion(0, kModule, kGetVariableLine, KplFormat("Invalid FVC variable: %d.", variableNumber));
    return 0.0;
  }
  return values_[static_cast<std::size_t>(slot)];
}

void KPLFVCEffort::SetVariable(std::int32_t variableNumber, double value) {
  if (variableNumber == kIgnoredVariable) return;
  const int slot = Slot(variableNumber);
  if (slot < 0) {
    ReportAssertion(0, kModule, kSetVariableLine, KplFormat("Invalid FVC variable: %d.", variableNumber));
    return;
  }
  values_[static_cast<std::size_t>(slot)] = value;
}
