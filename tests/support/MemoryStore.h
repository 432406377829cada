// Test support: a persistence store held in memory. Tests fill its public
// content and hand it to whatever loads through KPLDataStore; `failWith`
// makes every load fail with that result. Header-only, so any test program
// that links the domain model can use it.
#pragma once

#include <string>
#include <vector>

#include "KPLDomainObjects/KPLDataStore.h"
#include "KPLDomainObjects/KPLGXPredSet.h"
#include "KPLDomainObjects/KPLPredSet.h"
#include "KPLDomainObjects/KPLVariablesCollection.h"

namespace kpl::testing {

class KPLMemoryStore : public KPLDataStore {
 public:
  KPLMemoryStore() { opened_ = true; }

  void SetOpened(bool opened) { opened_ = opened; }

  // Sets found by exact name; a load copies the set and marks it loaded.
  [[nodiscard]] DS_LOAD_RETURN Load(KPLPredSet* set) const override {
    return LoadSet(set, predSets);
  }
  [[nodiscard]] DS_LOAD_RETURN Load(KPLGXPredSet* set) const override {
    return LoadSet(set, gxPredSets);
  }
  DS_LOAD_RETURN Load(KPLPredAuthorsCollection* authors, int /*argument*/) const override {
    return LoadCopy(authors, predAuthors);
  }
  DS_LOAD_RETURN Load(KPLGXPredAuthorsCollection* authors, int /*argument*/) const override {
    return LoadCopy(authors, gxPredAuthors);
  }
  // pfVariables for selector 254, gxVariables for 253; the selector is kept.
  DS_LOAD_RETURN Load(KPLVariablesCollection* variables, int /*argument*/) const override {
    if (variables == nullptr) return Count(DS_LOAD_BAD_ARGUMENT);
    const std::int32_t selector = variables->variableSet;
    const KPLVariablesCollection* source = selector == KPLVariablesCollection::kPFVariables   ? &pfVariables
                                           : selector == KPLVariablesCollection::kGXVariables ? &gxVariables
                                                                                              : nullptr;
    if (source == nullptr) return Count(DS_LOAD_BAD_ARGUMENT);
    const DS_LOAD_RETURN result = LoadCopy(variables, *source);
    variables->variableSet = selector;
    return result;
  }

  std::vector<KPLPredSet> predSets;
  std::vector<KPLGXPredSet> gxPredSets;
  KPLPredAuthorsCollection predAuthors;
  KPLGXPredAuthorsCollection gxPredAuthors;
  KPLVariablesCollection pfVariables;
  KPLVariablesCollection gxVariables;
  DS_LOAD_RETURN failWith = DS_LOAD_OK;  // every load answers this when set, changing nothing
  mutable int loadCount = 0;             // loads answered, failed ones included

 private:
  DS_LOAD_RETURN Count(DS_LOAD_RETURN result) const {
    ++loadCount;
    return result;
  }
  DS_LOAD_RETURN Refusal() const {
    if (!opened_) return DS_LOAD_NOT_OPENED;
    return failWith;
  }
  template <class Set>
  DS_LOAD_RETURN LoadSet(Set* set, const std::vector<Set>& sets) const {
    if (set == nullptr) return Count(DS_LOAD_BAD_ARGUMENT);
    if (const DS_LOAD_RETURN refused = Refusal(); refused != DS_LOAD_OK) return Count(refused);
    for (const Set& stored : sets) {
      if (stored.name == set->name) {
        *set = stored;
        set->SetLoaded(true);
        set->SetModified(false);
        return Count(DS_LOAD_OK);
      }
    }
    return Count(DS_LOAD_NOT_FOUND);
  }
  template <class Collection>
  DS_LOAD_RETURN LoadCopy(Collection* target, const Collection& source) const {
    if (target == nullptr) return Count(DS_LOAD_BAD_ARGUMENT);
    if (const DS_LOAD_RETURN refused = Refusal(); refused != DS_LOAD_OK) return Count(refused);
    *target = source;
    target->SetLoaded(true);
    target->SetModified(false);
    return Count(DS_LOAD_OK);
  }
};

}  // namespace kpl::testing
