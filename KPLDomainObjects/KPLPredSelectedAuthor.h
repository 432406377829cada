// KPLPredSelectedAuthor: one built entry of the PF selected authors: the
// author and the equation of each race group for one variable, kind, sex and
// age group.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLGuid.h"
#include "KPLDomainObjects/KPLPredAuthor.h"

class KPLPredSelectedAuthor : public KPLDomainObject {
 public:
  static constexpr int kRaceGroups = 4;

  KPLPredSelectedAuthor() { KPLPredSelectedAuthor::Clear(); }

  void Clear() override;
  // The own flag or the embedded author's.
  [[nodiscard]] bool IsModified() const override;

  // The equation for a race code: 1, 2, 3 → equations[0 … 2]; 4, 6, 7 →
  // equations[3]; the empty text for any other code (the caller maps 5).
  [[nodiscard]] std::string EquationForRace(int race) const;

  KPLPredAuthor author;  // name, guid and flags of the chosen author; no equations
  KPLGuid guid;          // left empty by the build
  std::int32_t variableNumber = 0;
  std::int32_t kind = 0;      // KPLPredVariable::kPredicted or kStandardDeviation
  std::int32_t sexGroup = 1;  // 1 male, 2 female
  std::int32_t ageGroup = 0;  // 0 … 2
  std::array<std::string, kRaceGroups> equations;  // equation 1 … 4: races 1, 2, 3, and 4/6/7
};
