// KPLPredVariable: one PF author's reference equations for one variable, by
// race group, sex and age group, for the predicted value or its standard
// deviation.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLGuid.h"

class KPLPredVariable : public KPLDomainObject {
 public:
  // Values of kind.
  enum Kind : std::int32_t { kPredicted = 0, kStandardDeviation = 1 };
  static constexpr int kRaceGroups = 4;
  static constexpr int kAgeGroups = 3;

  KPLPredVariable() { KPLPredVariable::Clear(); }

  void Clear() override;
  // Equation records always pass and never count as modified.
  [[nodiscard]] bool Validate(KPLValidationResult* result) const override;
  [[nodiscard]] bool IsModified() const override;

  // Index of the equation of race group (0 … 3), sex (1 male, 2 female) and
  // age group (0 … 2); −1 when any is out of range.
  [[nodiscard]] static constexpr int EquationIndex(int raceGroup, int sex, int ageGroup) {
    if (raceGroup < 0 || raceGroup >= kRaceGroups || sex < 1 || sex > 2 || ageGroup < 0 || ageGroup >= kAgeGroups)
      return -1;
    return 6 * raceGroup + 3 * (sex - 1) + ageGroup;
  }
  // That equation; reports and answers the empty text when out of range.
  [[nodiscard]] std::string Equation(int raceGroup, int sex, int ageGroup) const;
  // Same variable number and kind: two such records in one collection clash.
  [[nodiscard]] bool SharesEquationKey(const KPLPredVariable& other) const;

  std::int32_t variableNumber = 0;
  std::int32_t kind = kPredicted;
  KPLGuid guid;
  std::array<std::string, 24> equations;  // four race groups of six
};
