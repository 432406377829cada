// KPLAuthorChoice: one author choice of a predicted set: which author (name
// and GUID) serves one variable for each sex and age group. The PF and GX
// choices differ only in their number of age groups.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"

template <int AgeGroups>
class KPLAuthorChoice : public KPLDomainObject {
 public:
  // (male, 0) … (male, AgeGroups − 1), then the same for female.
  static constexpr int kAgeGroups = AgeGroups;
  static constexpr int kCombinations = 2 * AgeGroups;

  KPLAuthorChoice() { KPLAuthorChoice::Clear(); }

  void Clear() override {
    variableNumber = 0;
    authorNames = {};
    authorGuids = {};
    KPLDomainObject::Clear();
  }

  // Position of sex (1 male, 2 female) and age group in the texts; −1 when
  // either is out of range.
  [[nodiscard]] static constexpr int CombinationIndex(int sex, int ageGroup) {
    if (sex < 1 || sex > 2 || ageGroup < 0 || ageGroup >= kAgeGroups) return -1;
    return kAgeGroups * (sex - 1) + ageGroup;
  }

  std::int32_t variableNumber = 0;
  std::array<std::string, kCombinations> authorNames;  // by combination
  std::array<std::string, kCombinations> authorGuids;  // by combination, matched byte for byte
};
