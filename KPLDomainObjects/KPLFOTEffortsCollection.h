// KPLFOTEffortsCollection: the forced-oscillation efforts
// of a visit (test type 25).
#pragma once

#include <cstdint>
#include <memory>

#include "KPLDomainObjects/KPLFOTEffort.h"
#include "KPLDomainObjects/KPLItemsCollection.h"
#include "KPLDomainObjects/KPLPFCompositeEffortsCollection.h"

class KPLFOTEffortsCollection
    : public KPLItemsCollection<KPLFOTEffort, KPLPFCompositeEffortsCollection, KPLCollectionKind::kFOTEfforts> {
 public:
  KPLFOTEffortsCollection() = default;

  // Measured efforts lose their roles, composite efforts keep theirs; then the
  // stage assignment of the composite collections.
  bool AssignEffortsToStages(KPLVisit* visit) override;

 protected:
  [[nodiscard]] std::unique_ptr<KPLPFEffort> NewEffort() const override;
};
