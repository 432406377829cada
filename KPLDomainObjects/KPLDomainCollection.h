// KPLDomainCollection: the base of every ordered list of domain objects.
//
// Items are held by value by the concrete collections (KPLItemsCollection);
// this base keeps the cursor, the count, the collection's identity and two
// records for the persistence store. Pointers handed out by GetItem and
// GetCurrentItem point into the collection's storage and stay valid until the
// next Append, Insert, Remove, SetCount, Clear or assignment on it.
#pragma once

#include <array>
#include <cstdint>

#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLGuid.h"

class KPLDomainCollection : public KPLDomainObject {
 public:
  KPLDomainCollection() = default;
  KPLDomainCollection(const KPLDomainCollection&) = default;
  KPLDomainCollection& operator=(const KPLDomainCollection&) = default;

  // Item, cursor and count reset, store records zero, GUID emptied, flags false.
  void Clear() override;
  // The items in order, then ValidateCollection; stops at the first failure.
  [[nodiscard]] bool Validate(KPLValidationResult* result) const override;
  // The own flag or any item's.
  [[nodiscard]] bool IsModified() const override;
  // Own modified flag set, then every item's MarkAsNew; own loaded flag kept.
  void MarkAsNew() override;

  // The item at the current index; reports and answers null when there is none.
  virtual KPLDomainObject* GetCurrentItem() = 0;
  // The item at `index`; reports and answers null when out of range.
  virtual KPLDomainObject* GetItem(std::int32_t index) = 0;
  // Adds a copy at the end.
  virtual void Append(const KPLDomainObject& item);
  // Adds a copy before the current item, which it then becomes.
  virtual void Insert(const KPLDomainObject& item);
  // Removes the current item.
  virtual void Remove();
  // The collection's own check after its items passed; false here.
  [[nodiscard]] virtual bool ValidateCollection(KPLValidationResult* result) const;
  // count := `count`, modified := true.
  virtual void SetCount(std::int32_t newCount);

  std::int32_t currentIndex = -1;  // −1 when there is no current item
  std::int32_t count = 0;          // number of stored items
  std::array<std::int32_t, 6> storeParameters{};  // kept for the store only
  std::int32_t storeKey = 0;                      // kept for the store only
  KPLGuid collectionGuid;                         // identity of the content
};
