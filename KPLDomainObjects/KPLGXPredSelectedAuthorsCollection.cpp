#include "KPLDomainObjects/KPLGXPredSelectedAuthorsCollection.h"

#include <string>

#include "KPLClassLibrary/KplGlobal.h"
#include "KPLDomainObjects/KPLGXPredSet.h"

namespace {

constexpr const char* kModule = "KPLDomainObjects/KPLGXPredSelectedAuthorsCollection";

// The first author whose upper-cased GUID equals `guid` byte for byte.
const KPLGXPredAuthor* FindAuthor(const KPLGXPredAuthorsCollection& authors, const std::string& guid) {
  for (const KPLGXPredAuthor& author : authors.Items()) {
    if (author.guid.Get() == guid) return &author;
  }
  return nullptr;
}

}  // namespace

void KPLGXPredSelectedAuthorsCollection::BuildSelectedAuthors(const KPLGXPredSet* set,
                                                              const KPLGXPredAuthorsCollection* authors) {
  Clear();
  if (set == nullptr || authors == nullptr) {
    KPL_REPORT(kModule, "One or more pred selected authors collection objects not present.");
    return;
  }
  collectionGuid = set->guid;

  for (const KPLGXPredSelectedAuthor2& choice : set->authorChoices.Items()) {
    for (int m = 0; m < KPLGXPredSelectedAuthor2::kCombinations; ++m) {
      const int sex = m / KPLGXPredSelectedAuthor2::kAgeGroups + 1;
      const int ageGroup = m % KPLGXPredSelectedAuthor2::kAgeGroups;
      const std::string& guid = choice.authorGuids[static_cast<std::size_t>(m)];
      const std::string& name = choice.authorNames[static_cast<std::size_t>(m)];
      if (guid.empty() || name.empty()) continue;

      const KPLGXPredAuthor* found = FindAuthor(*authors, guid);
      if (found == nullptr) {
        KPL_REPORT(kModule, KplFormat("Can't find Pred Author GUID: %s.", guid.c_str()));
        continue;
      }
      for (const KPLGXPredVariable& record : found->equations.Items()) {
        if (record.variableNumber != choice.variableNumber) continue;
        KPLGXPredSelectedAuthor entry;
        entry.author.guid.Set(guid);
        entry.author.name = name;
        entry.author.flag = found->flag;
        entry.variableNumber = choice.variableNumber;
        entry.sexGroup = sex;
        entry.ageGroup = ageGroup;
        entry.equation = record.Equation(sex, ageGroup);  // the record declares groups 1, 2 as 2, 1
        entry.SetModified(false);
        entry.SetLoaded(true);
        Append(entry);
      }
    }
  }
  SetLoaded(true);
  SetModified(false);
}

const KPLGXPredSelectedAuthor* KPLGXPredSelectedAuthorsCollection::Find(std::int32_t variableNumber,
                                                                        std::int32_t sexGroup,
                                                                        std::int32_t ageGroup) const {
  for (const KPLGXPredSelectedAuthor& entry : Items()) {
    if (entry.variableNumber == variableNumber && entry.sexGroup == sexGroup && entry.ageGroup == ageGroup) {
      return &entry;
    }
  }
  return nullptr;
}
