#include "KPLDomainObjects/KPLPredAuthor.h"

#include "KPLDomainObjects/KPLValidationResult.h"

void KPLPredAuthor::Clear() {
  name.clear();
  guid.Empty();
  singleEquation = true;
  siUnits = true;
  flag3 = false;
  equations.Clear();
  KPLDomainObject::Clear();
}

bool KPLPredAuthor::Validate(KPLValidationResult* result) const {
  if (name.empty()) {
    if (result != nullptr) result->errorCode = KPLValidationResult::kEmptyAuthorName;
    return false;
  }
  return equations.Validate(result);
}

bool KPLPredAuthor::IsModified() const { return modified_ || equations.IsModified(); }
