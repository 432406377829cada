#include "KPLDomainObjects/KPLPredSelectedAuthor.h"

#include "KPLDomainObjects/KPLRaceCorrection.h"

void KPLPredSelectedAuthor::Clear() {
  author.Clear();
  guid.Empty();
  variableNumber = 0;
  kind = 0;
  sexGroup = 1;
  ageGroup = 0;
  equations = {};
  KPLDomainObject::Clear();
}

bool KPLPredSelectedAuthor::IsModified() const { return modified_ || author.IsModified(); }

std::string KPLPredSelectedAuthor::EquationForRace(int race) const {
  const int group = KPLRaceCorrection::RaceGroup(race);
  return group < 0 ? std::string() : equations[static_cast<std::size_t>(group)];
}
