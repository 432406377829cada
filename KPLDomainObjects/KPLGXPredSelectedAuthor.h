// KPLGXPredSelectedAuthor: one built entry of the GX selected authors: the
// author and the equation for one variable, sex and age group.
#pragma once

#include <cstdint>
#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLGXPredAuthor.h"
#include "KPLDomainObjects/KPLGuid.h"

class KPLGXPredSelectedAuthor : public KPLDomainObject {
 public:
  KPLGXPredSelectedAuthor() { KPLGXPredSelectedAuthor::Clear(); }

  void Clear() override;
  // The own flag or the embedded author's.
  [[nodiscard]] bool IsModified() const override;

  KPLGXPredAuthor author;  // name, guid and flag of the chosen author; no equations
  KPLGuid guid;            // left empty by the build
  std::int32_t variableNumber = 0;
  std::int32_t sexGroup = 1;  // 1 male, 2 female
  std::int32_t ageGroup = 0;  // 0 … 2 by age range; 3 for the obesity and overweight rules
  std::string equation;
};
