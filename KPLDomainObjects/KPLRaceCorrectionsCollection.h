// KPLRaceCorrectionsCollection: the race factors of a PF predicted set; the
// first entry of a variable wins.
#pragma once

#include <cstdint>

#include "KPLDomainObjects/KPLItemsCollection.h"
#include "KPLDomainObjects/KPLRaceCorrection.h"

class KPLRaceCorrectionsCollection
    : public KPLItemsCollection<KPLRaceCorrection, KPLDomainCollection, KPLCollectionKind::kRaceCorrections> {
 public:
  // The factor of the first entry for `variableNumber` and `race`; 1.0 when no
  // entry names the variable or the race has no group (5 unspecified).
  [[nodiscard]] double Factor(std::int32_t variableNumber, int race) const;
};
