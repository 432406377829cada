// KPLPredAuthor: one PF reference study of the authors catalogue, with its
// equation records. Author choices name it by GUID.
#pragma once

#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLGuid.h"
#include "KPLDomainObjects/KPLPredVariablesCollection.h"

class KPLPredAuthor : public KPLDomainObject {
 public:
  KPLPredAuthor() { KPLPredAuthor::Clear(); }

  void Clear() override;
  // An empty name fails with errorCode 1; otherwise the equations' check.
  [[nodiscard]] bool Validate(KPLValidationResult* result) const override;
  // The own flag or the equations'.
  [[nodiscard]] bool IsModified() const override;

  std::string name;
  KPLGuid guid;
  bool singleEquation = true;  // the race-group-0 equations serve every race
  bool siUnits = true;         // the equations give SI results
  bool flag3 = false;          // kept
  KPLPredVariablesCollection equations;
};
