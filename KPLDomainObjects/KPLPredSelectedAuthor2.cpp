#include "KPLDomainObjects/KPLPredSelectedAuthor2.h"

void KPLPredSelectedAuthor2::Clear() {
  variableNumber = 0;
  authorNames = {};
  authorGuids = {};
  KPLDomainObject::Clear();
}
