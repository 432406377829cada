// KPLVariablesCollection: the variable definitions of one variable set, as the
// store loads them (the PF or the GX variables).
#pragma once

#include <cstdint>

#include "KPLDomainObjects/KPLItemsCollection.h"
#include "KPLDomainObjects/KPLVariable.h"

class KPLVariablesCollection
    : public KPLItemsCollection<KPLVariable, KPLDomainCollection, KPLCollectionKind::kVariables> {
 public:
  // Values of variableSet.
  enum VariableSet : std::int32_t { kNoSet = 0, kGXVariables = 253, kPFVariables = 254 };

  KPLVariablesCollection() { KPLVariablesCollection::Clear(); }

  // Also resets the selector and the flag.
  void Clear() override;

  std::int32_t variableSet = kNoSet;  // which variables the store loads; set before loading
  bool flag = false;                  // kept for the store
};
