// KPLPredAuthorsCollection: the PF authors catalogue, as the store loads it.
#pragma once

#include "KPLDomainObjects/KPLItemsCollection.h"
#include "KPLDomainObjects/KPLPredAuthor.h"

using KPLPredAuthorsCollection =
    KPLItemsCollection<KPLPredAuthor, KPLDomainCollection, KPLCollectionKind::kPredAuthors>;
