#include "KPLDomainObjects/KPLGXPredSelectedAuthor.h"

void KPLGXPredSelectedAuthor::Clear() {
  author.Clear();
  guid.Empty();
  variableNumber = 0;
  sexGroup = 1;
  ageGroup = 0;
  equation.clear();
  KPLDomainObject::Clear();
}

bool KPLGXPredSelectedAuthor::IsModified() const { return modified_ || author.IsModified(); }
