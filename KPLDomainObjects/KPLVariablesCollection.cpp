#include "KPLDomainObjects/KPLVariablesCollection.h"

void KPLVariablesCollection::Clear() {
  variableSet = kNoSet;
  flag = false;
  KPLItemsCollection::Clear();
}
