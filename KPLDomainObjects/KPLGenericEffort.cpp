#include "KPLDomainObjects/KPLGenericEffort.h"

void KPLGenericEffort::Clear() {
  KPLPFEffort::Clear();
  testType = madeFor_;
  values_.clear();
}

double KPLGenericEffort::GetVariable(std::int32_t variableNumber) const {
  const auto found = values_.find(variableNumber);
  return found != values_.end() ? found->second : 0.0;
}

void KPLGenericEffort::SetVariable(std::int32_t variableNumber, double value) { values_[variableNumber] = value; }

bool KPLGenericEffort::HasVariable(std::int32_t variableNumber) const { return values_.contains(variableNumber); }
