#include "KPLDomainObjects/KPLGXPredVariable.h"

#include "KPLClassLibrary/KplGlobal.h"

namespace {
constexpr const char* kModule = "KPLDomainObjects/KPLGXPredVariable";
}

void KPLGXPredVariable::Clear() {
  variableNumber = 0;
  guid.Empty();
  equations = {};
  KPLDomainObject::Clear();
}

bool KPLGXPredVariable::Validate(KPLValidationResult* /*result*/) const { return true; }

bool KPLGXPredVariable::IsModified() const { return false; }

std::string KPLGXPredVariable::Equation(int sex, int ageGroup) const {
  const int index = EquationIndex(sex, ageGroup);
  if (index < 0) {
    KPL_REPORT(kModule, KplFormat("Invalid equation: sex %d, age group %d.", sex, ageGroup));
    return {};
  }
  return equations[static_cast<std::size_t>(index)];
}

bool KPLGXPredVariable::SharesEquationKey(const KPLGXPredVariable& other) const {
  return variableNumber == other.variableNumber;
}
