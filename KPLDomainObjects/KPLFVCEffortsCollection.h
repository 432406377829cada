// KPLFVCEffortsCollection: the FVC efforts of a visit
// (test type 1), with a composite effort ending each stage.
#pragma once

#include <cstdint>
#include <memory>

#include "KPLDomainObjects/KPLFVCEffort.h"
#include "KPLDomainObjects/KPLItemsCollection.h"
#include "KPLDomainObjects/KPLPFCompositeEffortsCollection.h"

class KPLFVCEffortsCollection
    : public KPLItemsCollection<KPLFVCEffort, KPLPFCompositeEffortsCollection, KPLCollectionKind::kFVCEfforts> {
 public:
  KPLFVCEffortsCollection() = default;

  // Measured efforts lose their roles, composite efforts keep theirs; then the
  // stage assignment of the composite collections.
  bool AssignEffortsToStages(KPLVisit* visit) override;

 protected:
  [[nodiscard]] std::unique_ptr<KPLPFEffort> NewEffort() const override;
};
