#include "KPLDomainObjects/KPLDomainCollection.h"

void KPLDomainCollection::Clear() {
  currentIndex = -1;
  count = 0;
  storeParameters = {};
  storeKey = 0;
  collectionGuid.Empty();
  KPLDomainObject::Clear();
}

// A collection that stores no items: only its own check remains.
bool KPLDomainCollection::Validate(KPLValidationResult* result) const { return ValidateCollection(result); }

bool KPLDomainCollection::IsModified() const { return modified_; }

void KPLDomainCollection::MarkAsNew() { modified_ = true; }

void KPLDomainCollection::Append(const KPLDomainObject& /*item*/) {}

void KPLDomainCollection::Insert(const KPLDomainObject& /*item*/) {}

void KPLDomainCollection::Remove() {}

bool KPLDomainCollection::ValidateCollection(KPLValidationResult* /*result*/) const { return false; }

void KPLDomainCollection::SetCount(std::int32_t newCount) {
  count = newCount;
  modified_ = true;
}
