// KPLGXPredAuthor: one GX reference study of the authors catalogue, with at
// most 50 equation records. Author choices name it by GUID; the GX
// calculator treats the name "Wasserman" specially.
#pragma once

#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLGXPredVariablesCollection.h"
#include "KPLDomainObjects/KPLGuid.h"

class KPLGXPredAuthor : public KPLDomainObject {
 public:
  KPLGXPredAuthor() { KPLGXPredAuthor::Clear(); }

  void Clear() override;
  // An empty name fails with errorCode 1; otherwise the equations' check.
  [[nodiscard]] bool Validate(KPLValidationResult* result) const override;
  // The own flag or the equations'.
  [[nodiscard]] bool IsModified() const override;

  std::string name;
  KPLGuid guid;
  bool flag = false;  // copied into the selected authors
  KPLGXPredVariablesCollection equations;
};
