#include "KPLDomainObjects/KPLFVCEffortsCollection.h"

bool KPLFVCEffortsCollection::AssignEffortsToStages(KPLVisit* visit) { return AssignEffortsToStagesResettingRoles(visit); }

std::unique_ptr<KPLPFEffort> KPLFVCEffortsCollection::NewEffort() const { return std::make_unique<KPLFVCEffort>(); }
