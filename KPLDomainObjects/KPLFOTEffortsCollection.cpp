#include "KPLDomainObjects/KPLFOTEffortsCollection.h"

bool KPLFOTEffortsCollection::AssignEffortsToStages(KPLVisit* visit) { return AssignEffortsToStagesResettingRoles(visit); }

std::unique_ptr<KPLPFEffort> KPLFOTEffortsCollection::NewEffort() const { return std::make_unique<KPLFOTEffort>(); }
