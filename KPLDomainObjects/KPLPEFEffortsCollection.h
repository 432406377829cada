// KPLPEFEffortsCollection: the peak-flow blows of a visit
// (test type 27); its composite efforts carry only stage, time and mark.
#pragma once

#include <cstdint>
#include <memory>

#include "KPLDomainObjects/KPLPEFEffort.h"
#include "KPLDomainObjects/KPLItemsCollection.h"
#include "KPLDomainObjects/KPLPFCompositeEffortsCollection.h"

class KPLPEFEffortsCollection
    : public KPLItemsCollection<KPLPEFEffort, KPLPFCompositeEffortsCollection, KPLCollectionKind::kPEFEfforts> {
 public:
  KPLPEFEffortsCollection() = default;

  // Measured efforts lose their roles, composite efforts keep theirs; then the
  // stage assignment of the composite collections.
  bool AssignEffortsToStages(KPLVisit* visit) override;

 protected:
  [[nodiscard]] std::unique_ptr<KPLPFEffort> NewEffort() const override;
};
