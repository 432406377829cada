// KPLPredSelectedAuthor2: one author choice of a PF predicted set: which
// author serves one variable for each sex and age group.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"

class KPLPredSelectedAuthor2 : public KPLDomainObject {
 public:
  // (male, 0), (male, 1), (male, 2), (female, 0), (female, 1), (female, 2).
  static constexpr int kCombinations = 6;
  static constexpr int kAgeGroups = 3;

  KPLPredSelectedAuthor2() { KPLPredSelectedAuthor2::Clear(); }

  void Clear() override;

  // Position of sex (1 male, 2 female) and age group (0 … 2) in the texts;
  // −1 when either is out of range.
  [[nodiscard]] static constexpr int CombinationIndex(int sex, int ageGroup) {
    if (sex < 1 || sex > 2 || ageGroup < 0 || ageGroup >= kAgeGroups) return -1;
    return kAgeGroups * (sex - 1) + ageGroup;
  }

  std::int32_t variableNumber = 0;
  std::array<std::string, kCombinations> authorNames;  // by combination
  std::array<std::string, kCombinations> authorGuids;  // by combination, matched byte for byte
};
