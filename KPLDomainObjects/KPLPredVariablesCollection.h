// KPLPredVariablesCollection: the equation records of one PF author; at most
// 100, one per variable number and kind.
#pragma once

#include "KPLDomainObjects/KPLItemsCollection.h"
#include "KPLDomainObjects/KPLPredVariable.h"

using KPLPredVariablesCollection =
    KPLItemsCollection<KPLPredVariable, KPLDomainCollection, KPLCollectionKind::kPredVariables>;
