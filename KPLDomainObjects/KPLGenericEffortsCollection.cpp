#include "KPLDomainObjects/KPLGenericEffortsCollection.h"

bool KPLGenericEffortsCollection::AssignEffortsToStages(KPLVisit* visit) {
  return AssignEffortsToStagesResettingRoles(visit);
}

std::unique_ptr<KPLPFEffort> KPLGenericEffortsCollection::NewEffort() const {
  return std::make_unique<KPLGenericEffort>(testType);
}
