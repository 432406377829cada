#include "KPLDomainObjects/KPLGXPredSet.h"

void KPLGXPredSet::Clear() {
  name.clear();
  guid.Empty();
  flag = false;
  authorChoices.Clear();
  options.Clear();
  KPLDomainObject::Clear();
}

bool KPLGXPredSet::Validate(KPLValidationResult* result) const { return options.Validate(result); }
