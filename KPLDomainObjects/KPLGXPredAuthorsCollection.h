// KPLGXPredAuthorsCollection: the GX authors catalogue, as the store loads it.
#pragma once

#include "KPLDomainObjects/KPLGXPredAuthor.h"
#include "KPLDomainObjects/KPLItemsCollection.h"

using KPLGXPredAuthorsCollection =
    KPLItemsCollection<KPLGXPredAuthor, KPLDomainCollection, KPLCollectionKind::kGXPredAuthors>;
