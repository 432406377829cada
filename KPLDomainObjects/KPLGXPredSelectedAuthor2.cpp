#include "KPLDomainObjects/KPLGXPredSelectedAuthor2.h"

void KPLGXPredSelectedAuthor2::Clear() {
  variableNumber = 0;
  authorNames = {};
  authorGuids = {};
  KPLDomainObject::Clear();
}
