#include "KPLDomainObjects/KPLPredSelectedAuthorsCollection.h"

#include <string>

#include "KPLClassLibrary/KplGlobal.h"
#include "KPLDomainObjects/KPLPredAuthorsCollection.h"
#include "KPLDomainObjects/KPLPredSet.h"

namespace {

constexpr const char* kModule = "KPLDomainObjects/KPLPredSelectedAuthorsCollection";

// The first author whose upper-cased GUID equals `guid` byte for byte.
const KPLPredAuthor* FindAuthor(const KPLPredAuthorsCollection& authors, const std::string& guid) {
  for (const KPLPredAuthor& author : authors.Items()) {
    if (author.guid.Get() == guid) return &author;
  }
  return nullptr;
}

}  // namespace

void KPLPredSelectedAuthorsCollection::BuildSelectedAuthors(const KPLPredSet* set,
                                                            const KPLPredAuthorsCollection* authors) {
  Clear();
  if (set == nullptr || authors == nullptr) {
    KPL_REPORT(kModule, "One or more pred selected authors collection objects not present.");
    return;
  }
  collectionGuid = set->guid;

  for (const KPLPredSelectedAuthor2& choice : set->authorChoices.Items()) {
    for (int m = 0; m < KPLPredSelectedAuthor2::kCombinations; ++m) {
      const int sex = m / KPLPredSelectedAuthor2::kAgeGroups + 1;
      const int ageGroup = m % KPLPredSelectedAuthor2::kAgeGroups;
      const std::string& guid = choice.authorGuids[static_cast<std::size_t>(m)];
      const std::string& name = choice.authorNames[static_cast<std::size_t>(m)];
      if (guid.empty() || name.empty()) continue;

      const KPLPredAuthor* found = FindAuthor(*authors, guid);
      if (found == nullptr) {
        KPL_REPORT(kModule, KplFormat("Can't find Pred Author GUID: %s.", guid.c_str()));
        continue;
      }
      for (const KPLPredVariable& record : found->equations.Items()) {
        if (record.variableNumber != choice.variableNumber) continue;
        KPLPredSelectedAuthor entry;
        entry.author.guid.Set(guid);
        entry.author.name = name;
        entry.author.singleEquation = found->singleEquation;
        entry.author.siUnits = found->siUnits;
        entry.author.flag3 = found->flag3;
        entry.ageGroup = ageGroup;
        entry.variableNumber = choice.variableNumber;
        entry.kind = record.kind;
        entry.sexGroup = sex;
        for (int g = 0; g < KPLPredSelectedAuthor::kRaceGroups; ++g) {
          const int sourceGroup = found->singleEquation ? 0 : g;
          entry.equations[static_cast<std::size_t>(g)] = record.Equation(sourceGroup, sex, ageGroup);
        }
        entry.SetModified(false);
        entry.SetLoaded(true);
        Append(entry);
      }
    }
  }
  SetLoaded(true);
  SetModified(false);
}

const KPLPredSelectedAuthor* KPLPredSelectedAuthorsCollection::Find(std::int32_t variableNumber, std::int32_t kind,
                                                                    std::int32_t sexGroup,
                                                                    std::int32_t ageGroup) const {
  for (const KPLPredSelectedAuthor& entry : Items()) {
    if (entry.variableNumber == variableNumber && entry.kind == kind && entry.sexGroup == sexGroup &&
        entry.ageGroup == ageGroup) {
      return &entry;
    }
  }
  return nullptr;
}
