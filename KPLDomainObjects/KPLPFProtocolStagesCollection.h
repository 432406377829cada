// KPLPFProtocolStagesCollection: the protocol stages of a visit, in protocol
// order.
#pragma once

#include "KPLDomainObjects/KPLItemsCollection.h"
#include "KPLDomainObjects/KPLPFProtocolStage.h"

using KPLPFProtocolStagesCollection =
    KPLItemsCollection<KPLPFProtocolStage, KPLDomainCollection, KPLCollectionKind::kProtocolStages>;
