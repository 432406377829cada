#include "KPLDomainObjects/KPLPEFEffortsCollection.h"

bool KPLPEFEffortsCollection::AssignEffortsToStages(KPLVisit* visit) { return AssignEffortsToStagesResettingRoles(visit); }

std::unique_ptr<KPLPFEffort> KPLPEFEffortsCollection::NewEffort() const { return std::make_unique<KPLPEFEffort>(); }
