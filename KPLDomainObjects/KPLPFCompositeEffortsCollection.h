// KPLPFCompositeEffortsCollection: the effort collections whose stages carry a
// composite effort that follows every change: a selection, a role or the rpLp
// mark recomputes the composite effort of the stage concerned.
#pragma once

#include <cstdint>

#include "KPLDomainObjects/KPLPFEffortsCollection.h"

class KPLPFCompositeEffortsCollection : public KPLPFEffortsCollection {
 public:
  KPLPFCompositeEffortsCollection() = default;

  // The rpLp effort cannot be deselected; any other change recomputes the
  // stage's composite effort.
  void SetEffortSelected(std::int32_t index, std::int32_t& artificialIndex, std::int32_t newSelected,
                         KPLVisit* visit, std::int32_t extra) override;
  // The base rules; an effort that lost its role gets the shared mark back when
  // it is a composite effort. The effort given the role ends not selected.
  void SetEffortRole(std::int32_t index, std::uint8_t roleCode, std::int32_t& clearedA, std::int32_t& clearedB,
                     KPLVisit* visit) override;
  // The base assignment, then the rpLp marks applied again.
  bool AssignEffortsToStages(KPLVisit* visit) override;
  // A composite effort survives only if a selected effort of its run remains.
  void DeleteUnselectedEfforts() override;
  // Composite efforts are recomputed instead of asked.
  void ComputeCrossTestVariables(KPLVisit* visit) override;
  // The base form, then every selection applied again.
  void RecalculateEfforts(std::int32_t flag, KPLVisit* visit) override;
  // Marks the effort whose inspiratory loop its stage's composite effort takes
  // (flag 1: the only one of its stage; the previous holder's index goes to
  // previousIndex).
  virtual void SetEffortRpLp(std::int32_t index, std::int32_t& previousIndex, std::int32_t& artificialIndex,
                             std::int32_t flag, KPLVisit* visit);

 protected:
  // The stage assignment of the concrete collections: measured efforts lose
  // their roles (composite efforts keep theirs), then AssignEffortsToStages.
  bool AssignEffortsToStagesResettingRoles(KPLVisit* visit);
};
