#include "KPLDomainObjects/KPLGXPredAuthor.h"

#include "KPLDomainObjects/KPLValidationResult.h"

void KPLGXPredAuthor::Clear() {
  name.clear();
  guid.Empty();
  flag = false;
  equations.Clear();
  KPLDomainObject::Clear();
}

bool KPLGXPredAuthor::Validate(KPLValidationResult* result) const {
  if (name.empty()) {
    if (result != nullptr) result->errorCode = KPLValidationResult::kEmptyAuthorName;
    return false;
  }
  return equations.Validate(result);
}

bool KPLGXPredAuthor::IsModified() const { return modified_ || equations.IsModified(); }
