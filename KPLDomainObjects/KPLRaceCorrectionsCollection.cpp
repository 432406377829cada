#include "KPLDomainObjects/KPLRaceCorrectionsCollection.h"

double KPLRaceCorrectionsCollection::Factor(std::int32_t variableNumber, int race) const {
  for (const KPLRaceCorrection& correction : Items()) {
    if (correction.variableNumber == variableNumber) return correction.FactorForRace(race);
  }
  return 1.0;
}
