// KPLPredSetAgeGroups: the three age ranges of a PF predicted set and its VC
// option. The PF calculator takes a patient's age group from it.
#pragma once

#include <array>
#include <cstdint>

#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLGuid.h"

class KPLPredSetAgeGroups : public KPLDomainObject {
 public:
  // Inclusive bounds in whole years; (−1, −1) is an unused range.
  struct AgeRange {
    std::int32_t lower = -1;
    std::int32_t upper = -1;
  };
  static constexpr int kAgeRanges = 3;
  // The age group of an age in no range; no PF equation exists for it.
  static constexpr std::int32_t kNoAgeGroup = 3;

  KPLPredSetAgeGroups() { KPLPredSetAgeGroups::Clear(); }

  void Clear() override;

  // 0, 1 or 2 for the first range that holds the whole years of `age`
  // (fraction dropped, 25.9 is 25); kNoAgeGroup when none does.
  [[nodiscard]] std::int32_t AgeGroupOf(double age) const;

  KPLGuid guid;
  bool vcUsesFvcEquation = true;  // variable 52 takes the equations found for variable 2
  std::array<AgeRange, kAgeRanges> ageRanges{};  // age groups 0, 1, 2
};
