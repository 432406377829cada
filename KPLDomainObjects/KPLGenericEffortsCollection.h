// KPLGenericEffortsCollection: the efforts of one test without effort classes
// of its own (SVC, MVV, DLCO, Pleth, ABG, …), with the composite-effort rules.
// Its efforts are KPLGenericEffort objects of the collection's test type.
#pragma once

#include <cstdint>
#include <memory>

#include "KPLDomainObjects/KPLGenericEffort.h"
#include "KPLDomainObjects/KPLItemsCollection.h"
#include "KPLDomainObjects/KPLPFCompositeEffortsCollection.h"

class KPLGenericEffortsCollection
    : public KPLItemsCollection<KPLGenericEffort, KPLPFCompositeEffortsCollection,
                                KPLCollectionKind::kGenericEfforts> {
 public:
  explicit KPLGenericEffortsCollection(std::int32_t collectionTestType = 0) : testType(collectionTestType) {}

  // Measured efforts lose their roles, composite efforts keep theirs; then the
  // stage assignment of the composite collections.
  bool AssignEffortsToStages(KPLVisit* visit) override;

  std::int32_t testType;  // given to every effort the collection makes

 protected:
  [[nodiscard]] std::unique_ptr<KPLPFEffort> NewEffort() const override;
};
