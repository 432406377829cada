// KPLGXPredSelectedAuthorsCollection2: the author choices of a GX predicted
// set, one per variable, in the order the selected authors are built.
#pragma once

#include "KPLDomainObjects/KPLGXPredSelectedAuthor2.h"
#include "KPLDomainObjects/KPLItemsCollection.h"

using KPLGXPredSelectedAuthorsCollection2 =
    KPLItemsCollection<KPLGXPredSelectedAuthor2, KPLDomainCollection, KPLCollectionKind::kGXPredSelectedAuthors2>;
