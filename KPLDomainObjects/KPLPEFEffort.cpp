#include "KPLDomainObjects/KPLPEFEffort.h"

#include "KPLClassLibrary/KplGlobal.h"

namespace {
constexpr const char* kModule = "KPLDomainObjects/KPLPEFEffort";
// Report lines fixed by the design.
constexpr int kGetVariableLine = 116;
constexpr int kSetVariableLine = 85;
}  // namespace

void KPLPEFEffort::Clear() {
  KPLPFEffort::Clear();
  testType = kTestType;
  value298 = 0.0;
  value299 = 0.0;
}

double KPLPEFEffort::GetVariable(std::int32_t variableNumber) const {
  if (variableNumber == kPEFVariable) return value298;
  if (variableNumber == kSecondVariable) return value299;
  ReportAssertion(0, kModule, kGetVariableLine, KplFormat("Invalid PEF variable: %d.", variableNumber));
  return 0.0;
}

void KPLPEFEffort::SetVariable(std::int32_t variableNumber, double value) {
  if (variableNumber == kPEFVariable) {
    value298 = value;
  } else if (variableNumber == kSecondVariable) {
    value299 = value;
  } else {
    ReportAssertion(0, kModule, kSetVariableLine, KplFormat("Invalid PEF variable: %d.", variableNumber));
  }
}
