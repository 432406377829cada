// KPLRaceCorrection: the race factors of one variable in a PF predicted set,
// multipliers of the predicted value.
#pragma once

#include <array>
#include <cstdint>

#include "KPLDomainObjects/KPLDomainObject.h"

class KPLRaceCorrection : public KPLDomainObject {
 public:
  static constexpr int kRaceGroups = 4;

  KPLRaceCorrection() { KPLRaceCorrection::Clear(); }

  void Clear() override;

  // The race group of a race code: 1, 2, 3 → 0, 1, 2; 4, 6, 7 → 3; any other
  // code (5 unspecified included) → −1. Equations use the same groups.
  [[nodiscard]] static constexpr int RaceGroup(int race) {
    switch (race) {
      case 1:
        return 0;
      case 2:
        return 1;
      case 3:
        return 2;
      case 4:
      case 6:
      case 7:
        return 3;
      default:
        return -1;
    }
  }
  // The factor for a race code; 1.0 for a race without a group.
  [[nodiscard]] double FactorForRace(int race) const;

  std::int32_t variableNumber = 0;
  std::array<double, kRaceGroups> factors{1.0, 1.0, 1.0, 1.0};  // races 1, 2, 3, and 4/6/7
};
