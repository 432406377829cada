// KPLGXPredSet: a named GX predicted set: which author serves each variable,
// sex and age group, and the options of the derived formulas. The store fills
// it by name; the GX calculator builds its selected authors from it.
#pragma once

#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLGXPredSelectedAuthorsCollection2.h"
#include "KPLDomainObjects/KPLGXPredSetOptions.h"
#include "KPLDomainObjects/KPLGuid.h"

class KPLGXPredSet : public KPLDomainObject {
 public:
  KPLGXPredSet() { KPLGXPredSet::Clear(); }

  void Clear() override;
  // The options' check (which passes). IsModified is the own flag only.
  [[nodiscard]] bool Validate(KPLValidationResult* result) const override;

  std::string name;  // set by the caller before loading
  KPLGuid guid;
  bool flag = false;  // kept
  KPLGXPredSelectedAuthorsCollection2 authorChoices;
  KPLGXPredSetOptions options;
};
