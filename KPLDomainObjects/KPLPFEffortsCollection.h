// KPLPFEffortsCollection: the base of the effort collections of the
// pulmonary-function tests.
//
// Assigns efforts to the visit's protocol stages from its events, applies the
// role and selection rules, keeps the predicted (index 0) and
// standard-deviation (index 1) pseudo-efforts and builds the composite effort
// that ends each run of one stage. Works on the items only through GetItem,
// so it never holds an item pointer across a change of the collection.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "KPLDomainObjects/KPLDomainCollection.h"
#include "KPLDomainObjects/KPLPFEffort.h"

class KPLVisit;

class KPLPFEffortsCollection : public KPLDomainCollection {
 public:
  KPLPFEffortsCollection() { KPLPFEffortsCollection::Clear(); }

  // collectionFlag true, hostWords zero, then the collection Clear.
  void Clear() override;
  // This class stores no items: both report "Should never get here.".
  KPLPFEffort* GetCurrentItem() override;
  KPLPFEffort* GetItem(std::int32_t index) override;
  [[nodiscard]] bool ValidateCollection(KPLValidationResult* result) const override;

  // A cleared effort dated 1801-01-01 with role 1, inserted at index 0.
  virtual void InsertEmptyPredEffort();
  // A cleared effort dated 1805-01-01 with role 5, inserted at index 1 (after
  // creating the predicted pseudo-effort when there is none).
  virtual void InsertEmptySDEffort();
  // True when some run of one stage has no selected effort.
  [[nodiscard]] virtual bool HasStageWithoutSelection();
  // `artificial` of the last item; 0 when empty.
  [[nodiscard]] virtual std::int32_t LastEffortIsArtificial();
  // Modes 0 to 3: by time, by stage order, nearest stage order, latest not
  // later. Null when nothing matches.
  [[nodiscard]] virtual KPLPFEffort* FindMatchingEffort(const KPLPFEffort& effort, std::int32_t mode);
  // The composite effort of `stage`; a null stage is reported.
  [[nodiscard]] virtual KPLPFEffort* FindArtificialEffort(const KPLPFProtocolStage* stage);
  // Base form: a marked effort cannot be deselected.
  virtual void SetEffortSelected(std::int32_t index, std::int32_t& artificialIndex, std::int32_t newSelected,
                                 KPLVisit* visit, std::int32_t extra);
  // Gives the role to the effort at `index`, taking it from the others the
  // rules name; their indices go to clearedA and clearedB (−1 when none).
  virtual void SetEffortRole(std::int32_t index, std::uint8_t roleCode, std::int32_t& clearedA,
                             std::int32_t& clearedB, KPLVisit* visit);
  [[nodiscard]] virtual bool GetCollectionFlag() const;
  // Stages and cumulative doses from the visit's events; false when an event
  // names no stage (what was assigned before stays).
  virtual bool AssignEffortsToStages(KPLVisit* visit);
  // Removes the measured efforts that are not selected.
  virtual void DeleteUnselectedEfforts();
  // Removes efforts with role 2, 3 or 4 dated before 1850-01-01 01:01:01.
  virtual void RemoveOldMarkedEfforts();
  // Every item's and the collection's modified flag := false.
  virtual void ClearModifiedFlags();
  virtual void RemoveArtificialAndOldMarkedEfforts();
  virtual void ComputeCrossTestVariables(KPLVisit* visit);
  virtual void LookupCrossTestVariables(KPLVisit* visit);
  virtual void RecalculateEfforts(std::int32_t flag, KPLVisit* visit);
  // Fills the composite effort of `stage`; nothing here.
  virtual void CalculateArtificialEffort(const KPLPFProtocolStage* stage, std::int32_t& artificialIndex,
                                         KPLVisit* visit);
  // Ends every run of one stage with a composite effort made from
  // `templateEffort`, dated one second after the run's last effort.
  virtual void BuildArtificialEfforts(KPLVisit* visit, KPLPFEffort& templateEffort);

  // BuildArtificialEfforts with a cleared effort of the collection's class.
  void InsertArtificialEfforts(KPLVisit* visit);
  // Index of the first measured effort (role 0, 2, 3, 4 or 8), or −1.
  [[nodiscard]] std::int32_t FirstMeasuredIndex();
  // First effort with role 1, or null.
  [[nodiscard]] KPLPFEffort* FindPredEffort();
  // First effort with role 5, or null.
  [[nodiscard]] KPLPFEffort* FindSDEffort();
  // From the first measured effort on, the first with role 2, or null.
  [[nodiscard]] KPLPFEffort* FindFirstReportingEffort();

  std::array<std::int32_t, 9> hostWords{};  // kept for the host
  std::array<std::uint8_t, 3> hostBytes{};  // kept for the host; Clear leaves them
  bool collectionFlag = true;               // kept for the host

 protected:
  // A cleared effort of the collection's own class; null here.
  [[nodiscard]] virtual std::unique_ptr<KPLPFEffort> NewEffort() const;
  // The role-clearing step of the FVC and PEF stage assignment: measured
  // efforts lose their roles, composite efforts keep theirs.
  void ClearMeasuredRoles();
  [[nodiscard]] bool IsIndex(std::int32_t index) const { return index >= 0 && index < count; }

 private:
  KPLPFEffort* FindByRole(std::int32_t from, std::uint8_t roleCode);
  // Removes the item at `index` through the cursor.
  void RemoveAt(std::int32_t index);
  void InsertPseudoEffort(std::int32_t at, const KPLDateTimeValue& time, std::uint8_t roleCode);
};
