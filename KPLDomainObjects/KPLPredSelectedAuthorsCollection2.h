// KPLPredSelectedAuthorsCollection2: the author choices of a PF predicted set,
// one per variable, in the order the selected authors are built.
#pragma once

#include "KPLDomainObjects/KPLItemsCollection.h"
#include "KPLDomainObjects/KPLPredSelectedAuthor2.h"

using KPLPredSelectedAuthorsCollection2 =
    KPLItemsCollection<KPLPredSelectedAuthor2, KPLDomainCollection, KPLCollectionKind::kPredSelectedAuthors2>;
