#include "KPLDomainObjects/KPLPredVariable.h"

#include "KPLClassLibrary/KplGlobal.h"

namespace {
constexpr const char* kModule = "KPLDomainObjects/KPLPredVariable";
}

void KPLPredVariable::Clear() {
  variableNumber = 0;
  kind = kPredicted;
  guid.Empty();
  equations = {};
  KPLDomainObject::Clear();
}

bool KPLPredVariable::Validate(KPLValidationResult* /*result*/) const { return true; }

bool KPLPredVariable::IsModified() const { return false; }

std::string KPLPredVariable::Equation(int raceGroup, int sex, int ageGroup) const {
  const int index = EquationIndex(raceGroup, sex, ageGroup);
  if (index < 0) {
    KPL_REPORT(kModule, KplFormat("Invalid equation: race group %d, sex %d, age group %d.", raceGroup, sex, ageGroup));
    return {};
  }
  return equations[static_cast<std::size_t>(index)];
}

bool KPLPredVariable::SharesEquationKey(const KPLPredVariable& other) const {
  return variableNumber == other.variableNumber && kind == other.kind;
}
