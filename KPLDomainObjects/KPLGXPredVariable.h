// KPLGXPredVariable: one GX author's reference equations for one variable, by
// sex and GX age group.
//
// The store fills the eight texts in declaration order: per sex, age groups
// 0, 2, 1, 3.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLGuid.h"

class KPLGXPredVariable : public KPLDomainObject {
 public:
  static constexpr int kAgeGroups = 4;

  KPLGXPredVariable() { KPLGXPredVariable::Clear(); }

  void Clear() override;
  // Equation records always pass and never count as modified.
  [[nodiscard]] bool Validate(KPLValidationResult* result) const override;
  [[nodiscard]] bool IsModified() const override;

  // Declared position of the equation of sex (1 male, 2 female) and age group
  // (0 … 3); −1 when either is out of range.
  [[nodiscard]] static constexpr int EquationIndex(int sex, int ageGroup) {
    constexpr int kDeclared[kAgeGroups] = {0, 2, 1, 3};  // groups 1 and 2 are declared 2, 1
    if (sex < 1 || sex > 2 || ageGroup < 0 || ageGroup >= kAgeGroups) return -1;
    return 4 * (sex - 1) + kDeclared[ageGroup];
  }
  // That equation; reports and answers the empty text when out of range.
  [[nodiscard]] std::string Equation(int sex, int ageGroup) const;
  // Same variable number: two such records in one collection clash.
  [[nodiscard]] bool SharesEquationKey(const KPLGXPredVariable& other) const;

  std::int32_t variableNumber = 0;
  KPLGuid guid;
  std::array<std::string, 8> equations;
};
