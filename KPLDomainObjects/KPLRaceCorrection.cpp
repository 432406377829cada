#include "KPLDomainObjects/KPLRaceCorrection.h"

void KPLRaceCorrection::Clear() {
  variableNumber = 0;
  factors = {1.0, 1.0, 1.0, 1.0};
  KPLDomainObject::Clear();
}

double KPLRaceCorrection::FactorForRace(int race) const {
  const int group = RaceGroup(race);
  return group < 0 ? 1.0 : factors[static_cast<std::size_t>(group)];
}
