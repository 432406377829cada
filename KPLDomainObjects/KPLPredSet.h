// KPLPredSet: a named PF predicted set: which author serves each variable,
// sex and age group, the age ranges, and the race factors. The store fills it
// by name; the PF calculator builds its selected authors from it.
#pragma once

#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLGuid.h"
#include "KPLDomainObjects/KPLPredSelectedAuthorsCollection2.h"
#include "KPLDomainObjects/KPLPredSetAgeGroups.h"
#include "KPLDomainObjects/KPLRaceCorrectionsCollection.h"

class KPLPredSet : public KPLDomainObject {
 public:
  KPLPredSet() { KPLPredSet::Clear(); }

  void Clear() override;
  // The age groups' check (which passes). IsModified is the own flag only.
  [[nodiscard]] bool Validate(KPLValidationResult* result) const override;

  std::string name;  // set by the caller before loading
  KPLGuid guid;
  bool flag = false;  // kept
  KPLPredSelectedAuthorsCollection2 authorChoices;
  KPLPredSetAgeGroups ageGroups;
  KPLRaceCorrectionsCollection raceCorrections;
};
