#include "KPLDomainObjects/KPLGXPredSetOptions.h"

void KPLGXPredSetOptions::Clear() {
  guid.Empty();
  vco2Option = true;
  trueGasOption = true;
  perKilogramOption = true;
  metsOption = true;
  oxygenPulseOption = true;
  veVo2Option = true;
  veVco2Option = true;
  obesityRuleOffOption = true;
  ageRanges = {};
  mvvMethod = 0;
  vco2Factor = 0.0;
  maleBmiLimit = 0.0;
  femaleBmiLimit = 0.0;
  gasFactor = 0.0;
  fev1Factor = 0.0;
  KPLDomainObject::Clear();
}

std::int32_t KPLGXPredSetOptions::AgeGroupOf(double age) const {
  for (int k = 0; k < kAgeRanges; ++k) {
    const AgeRange& range = ageRanges[static_cast<std::size_t>(k)];
    if (range.lower <= age && age <= range.upper) return k;
  }
  return kNoAgeGroup;
}
