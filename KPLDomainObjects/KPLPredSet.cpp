#include "KPLDomainObjects/KPLPredSet.h"

void KPLPredSet::Clear() {
  name.clear();
  guid.Empty();
  flag = false;
  authorChoices.Clear();
  ageGroups.Clear();
  raceCorrections.Clear();
  KPLDomainObject::Clear();
}

bool KPLPredSet::Validate(KPLValidationResult* result) const { return ageGroups.Validate(result); }
