// KPLPredSelectedAuthorsCollection: the PF selected authors, built from a
// predicted set and the authors catalogue: one entry per variable, kind, sex
// and age group that the set's choices name. The PF calculator reads it.
#pragma once

#include <cstdint>

#include "KPLDomainObjects/KPLItemsCollection.h"
#include "KPLDomainObjects/KPLPredAuthorsCollection.h"
#include "KPLDomainObjects/KPLPredSelectedAuthor.h"

class KPLPredSet;

class KPLPredSelectedAuthorsCollection
    : public KPLItemsCollection<KPLPredSelectedAuthor, KPLDomainCollection,
                                KPLCollectionKind::kPredSelectedAuthors> {
 public:
  // Replaces the content: for each author choice of `set` in order, each of
  // its six combinations, each equation record of the named author for the
  // choice's variable, one entry. Reports a missing argument (and stays
  // empty) and every GUID that names no author. Ends loaded and unmodified.
  void BuildSelectedAuthors(const KPLPredSet* set, const KPLPredAuthorsCollection* authors);

  // The first entry for variable, kind, sex group and age group; null when
  // none matches.
  [[nodiscard]] const KPLPredSelectedAuthor* Find(std::int32_t variableNumber, std::int32_t kind,
                                                  std::int32_t sexGroup, std::int32_t ageGroup) const;
};
