// KPLItemsCollection: a collection of records of class T held by value.
//
// The one implementation of the item operations of every concrete collection
// (variables, equations, authors, stages, events, efforts). `Base` is the
// collection base it completes (KPLDomainCollection or an effort-collection
// base); `kKind` picks its row of kCollectionTraits: report module, messages,
// capacity, Clear extras and own check. Items live in one contiguous array:
// a pointer handed out stays valid until the next Append, Insert, Remove,
// SetCount, Clear or assignment.
#pragma once

#include <cstdint>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "KPLClassLibrary/KplGlobal.h"
#include "KPLDomainObjects/KPLCollectionTraits.h"
#include "KPLDomainObjects/KPLDomainCollection.h"
#include "KPLDomainObjects/KPLValidationResult.h"

template <class T, class Base, KPLCollectionKind kKind>
class KPLItemsCollection : public Base {
  static_assert(std::is_base_of_v<KPLDomainObject, T>, "items are domain objects");
  static_assert(std::is_base_of_v<KPLDomainCollection, Base>, "the base is a collection");

 public:
  using Item = T;
  static constexpr const KPLCollectionTraits& kTraits = CollectionTraits(kKind);

  KPLItemsCollection() { KPLItemsCollection::Clear(); }
  ~KPLItemsCollection() override = default;
  // Deep copies: the items, then every member of the base.
  KPLItemsCollection(const KPLItemsCollection& other) : Base(other), items_(other.items_) {}
  KPLItemsCollection& operator=(const KPLItemsCollection& other) {
    if (this != &other) {
      items_ = other.items_;
      Base::operator=(other);
    }
    return *this;
  }

  T* GetCurrentItem() override {
    if (!IsStoredIndex(this->currentIndex)) {
      Report(kTraits.currentMessage, this->currentIndex, kTraits.currentLine != 0 ? kTraits.currentLine : __LINE__);
      return nullptr;
    }
    return &items_[static_cast<std::size_t>(this->currentIndex)];
  }

  T* GetItem(std::int32_t index) override {
    if (!IsStoredIndex(index)) {
      Report(kTraits.itemMessage, index, kTraits.itemLine != 0 ? kTraits.itemLine : __LINE__);
      return nullptr;
    }
    return &items_[static_cast<std::size_t>(index)];
  }

  // A copy at the end; ignored at the row's capacity. An item of another class
  // is reported and ignored.
  void Append(const KPLDomainObject& item) override {
    const T* typed = Typed(item, __LINE__);
    if (typed == nullptr) return;
    if (kTraits.capacity > 0 && Size() >= kTraits.capacity) return;
    T copy(*typed);  // the item may live in this collection
    items_.push_back(std::move(copy));
    Changed();
  }

  // A copy at the current index, which then designates it. The current index
  // must lie in 0 … count; otherwise it is reported and nothing changes.
  void Insert(const KPLDomainObject& item) override {
    const T* typed = Typed(item, __LINE__);
    if (typed == nullptr) return;
    if (this->currentIndex < 0 || this->currentIndex > Size()) {
      Report(kTraits.currentMessage, this->currentIndex, __LINE__);
      return;
    }
    T copy(*typed);
    items_.insert(items_.begin() + this->currentIndex, std::move(copy));
    Changed();
  }

  // Removes the current item; the index then moves to the new last item when
  // it ran past the end. No current item: reported, nothing changes.
  void Remove() override {
    if (this->currentIndex < 0 || this->currentIndex >= Size()) {
      Report(kTraits.currentMessage, this->currentIndex, __LINE__);
      return;
    }
    items_.erase(items_.begin() + this->currentIndex);
    Changed();
    if (this->currentIndex >= this->count) this->currentIndex = this->count - 1;
  }

  // Drops the items from `newCount` on. A count above the stored items is
  // reported and changes nothing.
  void SetCount(std::int32_t newCount) override {
    if (newCount < 0 || newCount > Size()) {
      ::ReportAssertion(0, kTraits.moduleName, __LINE__, KplFormat("Invalid item count: %d.", newCount));
      return;
    }
    items_.erase(items_.begin() + newCount, items_.end());
    Changed();
    if (this->currentIndex >= this->count) this->currentIndex = this->count - 1;
  }

  void Clear() override {
    items_.clear();
    items_.shrink_to_fit();
    Base::Clear();
    this->storeParameters[0] = kTraits.firstStoreParameter;
  }

  [[nodiscard]] bool Validate(KPLValidationResult* result) const override {
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (!items_[i].Validate(result)) {
        if (result != nullptr) result->itemIndex = static_cast<std::int32_t>(i);
        return false;
      }
    }
    return ValidateCollection(result);
  }

  [[nodiscard]] bool IsModified() const override {
    if (this->modified_) return true;
    for (const T& item : items_) {
      if (item.IsModified()) return true;
    }
    return false;
  }

  void MarkAsNew() override {
    this->modified_ = true;
    for (T& item : items_) item.MarkAsNew();
  }

  [[nodiscard]] bool ValidateCollection(KPLValidationResult* result) const override {
    if constexpr (kTraits.ownCheck == KPLOwnCheck::kNoDuplicates) {
      for (std::size_t i = 0; i < items_.size(); ++i) {
        for (std::size_t j = i + 1; j < items_.size(); ++j) {
          if (items_[i].SharesEquationKey(items_[j])) {
            if (result != nullptr) {
              result->itemIndex = static_cast<std::int32_t>(j);
              result->errorCode = KPLValidationResult::kDuplicateEquation;
            }
            return false;
          }
        }
      }
      return true;
    } else {
      return kTraits.ownCheck == KPLOwnCheck::kPasses;
    }
  }

  // The stored items, for loops; invalidated like the item pointers.
  [[nodiscard]] std::span<T> Items() { return items_; }
  [[nodiscard]] std::span<const T> Items() const { return items_; }

 private:
  [[nodiscard]] std::int32_t Size() const { return static_cast<std::int32_t>(items_.size()); }
  [[nodiscard]] bool IsStoredIndex(std::int32_t index) const {
    return index >= 0 && index < this->count && index < Size();
  }
  void Changed() {
    this->count = Size();
    this->modified_ = true;
  }
  static void Report(const char* format, std::int32_t value, int line) {
    ::ReportAssertion(0, kTraits.moduleName, line, KplFormat(format, value));
  }
  static const T* Typed(const KPLDomainObject& item, int line) {
    const T* typed = dynamic_cast<const T*>(&item);
    if (typed == nullptr) ::ReportAssertion(0, kTraits.moduleName, line, "Item of the wrong class.");
    return typed;
  }

  std::vector<T> items_;
};
