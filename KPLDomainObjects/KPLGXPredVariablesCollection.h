// KPLGXPredVariablesCollection: the equation records of one GX author; at most
// 50, one per variable number.
#pragma once

#include "KPLDomainObjects/KPLGXPredVariable.h"
#include "KPLDomainObjects/KPLItemsCollection.h"

using KPLGXPredVariablesCollection =
    KPLItemsCollection<KPLGXPredVariable, KPLDomainCollection, KPLCollectionKind::kGXPredVariables>;
