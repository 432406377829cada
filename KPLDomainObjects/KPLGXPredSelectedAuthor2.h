// KPLGXPredSelectedAuthor2: one author choice of a GX predicted set: which
// author serves one variable for each sex and GX age group (0 … 3).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"

class KPLGXPredSelectedAuthor2 : public KPLDomainObject {
 public:
  // (male, 0) … (male, 3), (female, 0) … (female, 3).
  static constexpr int kCombinations = 8;
  static constexpr int kAgeGroups = 4;

  KPLGXPredSelectedAuthor2() { KPLGXPredSelectedAuthor2::Clear(); }

  void Clear() override;

  // Position of sex (1 male, 2 female) and age group (0 … 3) in the texts;
  // −1 when either is out of range.
  [[nodiscard]] static constexpr int CombinationIndex(int sex, int ageGroup) {
    if (sex < 1 || sex > 2 || ageGroup < 0 || ageGroup >= kAgeGroups) return -1;
    return kAgeGroups * (sex - 1) + ageGroup;
  }

  std::int32_t variableNumber = 0;
  std::array<std::string, kCombinations> authorNames;  // by combination
  std::array<std::string, kCombinations> authorGuids;  // by combination, matched byte for byte
};
