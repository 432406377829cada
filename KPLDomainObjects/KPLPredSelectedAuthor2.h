// KPLPredSelectedAuthor2: one author choice of a PF predicted set, for the
// three PF age groups: (male, 0), (male, 1), (male, 2), (female, 0) … (female, 2).
#pragma once

#include "KPLDomainObjects/KPLAuthorChoice.h"

class KPLPredSelectedAuthor2 : public KPLAuthorChoice<3> {};
