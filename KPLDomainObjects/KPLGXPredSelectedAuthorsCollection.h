// KPLGXPredSelectedAuthorsCollection: the GX selected authors, built from a GX
// predicted set and the GX authors catalogue: one entry per variable, sex and
// age group (0 … 3) that the set's choices name. The GX calculator reads it.
#pragma once

#include <cstdint>

#include "KPLDomainObjects/KPLGXPredAuthorsCollection.h"
#include "KPLDomainObjects/KPLGXPredSelectedAuthor.h"
#include "KPLDomainObjects/KPLItemsCollection.h"

class KPLGXPredSet;

class KPLGXPredSelectedAuthorsCollection
    : public KPLItemsCollection<KPLGXPredSelectedAuthor, KPLDomainCollection,
                                KPLCollectionKind::kGXPredSelectedAuthors> {
 public:
  // Replaces the content: for each author choice of `set` in order, each of
  // its eight combinations, each equation record of the named author for the
  // choice's variable, one entry. Reports a missing argument (and stays
  // empty) and every GUID that names no author. Ends loaded and unmodified.
  void BuildSelectedAuthors(const KPLGXPredSet* set, const KPLGXPredAuthorsCollection* authors);

  // The first entry for variable, sex group and age group; null when none
  // matches.
  [[nodiscard]] const KPLGXPredSelectedAuthor* Find(std::int32_t variableNumber, std::int32_t sexGroup,
                                                    std::int32_t ageGroup) const;
};
