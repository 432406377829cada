// KPLGXPredSelectedAuthor2: one author choice of a GX predicted set, for the
// four GX age groups: (male, 0) … (male, 3), (female, 0) … (female, 3).
#pragma once

#include "KPLDomainObjects/KPLAuthorChoice.h"

class KPLGXPredSelectedAuthor2 : public KPLAuthorChoice<4> {};
