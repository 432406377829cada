// KPLVisitEventsCollection: the events of a visit, in time order.
#pragma once

#include "KPLDomainObjects/KPLItemsCollection.h"
#include "KPLDomainObjects/KPLVisitEvent.h"

using KPLVisitEventsCollection =
    KPLItemsCollection<KPLVisitEvent, KPLDomainCollection, KPLCollectionKind::kVisitEvents>;
