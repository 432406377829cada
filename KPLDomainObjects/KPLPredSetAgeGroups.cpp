#include "KPLDomainObjects/KPLPredSetAgeGroups.h"

#include <cmath>

void KPLPredSetAgeGroups::Clear() {
  guid.Empty();
  vcUsesFvcEquation = true;
  ageRanges = {};
  KPLDomainObject::Clear();
}

std::int32_t KPLPredSetAgeGroups::AgeGroupOf(double age) const {
  const double years = std::floor(age);  // compared in double: no overflow for any age
  for (int k = 0; k < kAgeRanges; ++k) {
    const AgeRange& range = ageRanges[static_cast<std::size_t>(k)];
    if (range.lower <= years && years <= range.upper) return k;
  }
  return kNoAgeGroup;
}
