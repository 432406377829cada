// KPLGXPredSetOptions: the age ranges of a GX predicted set and the options
// and factors of the GX calculator's derived formulas.
#pragma once

#include <array>
#include <cstdint>

#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLGuid.h"

class KPLGXPredSetOptions : public KPLDomainObject {
 public:
  // Inclusive bounds in years; (−1, −1) is an unused range.
  struct AgeRange {
    std::int32_t lower = -1;
    std::int32_t upper = -1;
  };
  static constexpr int kAgeRanges = 3;
  // The age group of an age in no range. Group 3 is not an age range: the GX
  // calculator reaches it only through its obesity and overweight rules.
  static constexpr std::int32_t kNoAgeGroup = 4;

  KPLGXPredSetOptions() { KPLGXPredSetOptions::Clear(); }

  void Clear() override;

  // 0, 1 or 2 for the first range that holds `age`, fraction included (17.5
  // is outside 5–17 and 18–25); kNoAgeGroup when none does.
  [[nodiscard]] std::int32_t AgeGroupOf(double age) const;

  KPLGuid guid;
  bool vco2Option = true;            // flag 1: VCO2 (quantities 7, 8) from VO2 and vco2Factor
  bool trueGasOption = true;         // flag 2: true VO2 and VCO2 (17 to 20), with gasFactor
  bool perKilogramOption = true;     // flag 3: VO2 per kilogram (11, 12)
  bool metsOption = true;            // flag 4: METS (9, 10)
  bool oxygenPulseOption = true;     // flag 5: VO2 per heart beat (13, 14)
  bool veVo2Option = true;           // flag 6: VE/VO2 (21, 22), with gasFactor
  bool veVco2Option = true;          // flag 7: VE/VCO2 (23, 24), with gasFactor
  bool obesityRuleOffOption = true;  // flag 8: true switches the obesity rule off
  std::array<AgeRange, kAgeRanges> ageRanges{};  // age groups 0, 1, 2
  std::int32_t mvvMethod = 0;    // the VE (BTPS) formula, 0 … 3
  double vco2Factor = 0.0;       // factor 1
  double maleBmiLimit = 0.0;     // factor 2
  double femaleBmiLimit = 0.0;   // factor 3
  double gasFactor = 0.0;        // factor 4
  double fev1Factor = 0.0;       // factor 5, for MVV methods 0 and 2
};
