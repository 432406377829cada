#include "KPLDomainObjects/KPLPFCompositeEffortsCollection.h"

void KPLPFCompositeEffortsCollection::SetEffortSelected(std::int32_t index, std::int32_t& artificialIndex,
                                                        std::int32_t newSelected, KPLVisit* visit,
                                                        std::int32_t extra) {
  const KPLPFEffort* effort = GetItem(index);
  if (effort == nullptr) return;
  if (effort->rpLp == 1 && newSelected == 0) return;
  KPLPFEffortsCollection::SetEffortSelected(index, artificialIndex, newSelected, visit, extra);
  KPLPFEffort* again = GetItem(index);
  if (again == nullptr) return;
  again->SetSelected(newSelected, extra);
  again->SetModified(true);
  const KPLPFProtocolStage stage = again->stage;
  CalculateArtificialEffort(&stage, artificialIndex, visit);
}

void KPLPFCompositeEffortsCollection::SetEffortRole(std::int32_t index, std::uint8_t roleCode,
                                                    std::int32_t& clearedA, std::int32_t& clearedB,
                                                    KPLVisit* visit) {
  if (GetItem(index) == nullptr) return;
  KPLPFEffortsCollection::SetEffortRole(index, roleCode, clearedA, clearedB, visit);
  for (const std::int32_t cleared : {clearedA, clearedB}) {
    if (cleared == -1) continue;
    if (KPLPFEffort* effort = GetItem(cleared)) {
      effort->roleInfo.roleCode = effort->artificial != 0 ? kRoleShared : kRoleNone;
    }
  }
  if (KPLPFEffort* effort = GetItem(index)) effort->SetSelected(0, 0);
}

bool KPLPFCompositeEffortsCollection::AssignEffortsToStages(KPLVisit* visit) {
  if (!KPLPFEffortsCollection::AssignEffortsToStages(visit)) return false;
  const std::int32_t first = FirstMeasuredIndex();
  if (first < 0) return true;
  std::int32_t scratchA = 0;
  std::int32_t scratchB = 0;
  for (std::int32_t i = first; i < count; ++i) {
    const KPLPFEffort* effort = GetItem(i);
    if (effort != nullptr && effort->rpLp != 0) SetEffortRpLp(i, scratchA, scratchB, 1, visit);
  }
  return true;
}

void KPLPFCompositeEffortsCollection::DeleteUnselectedEfforts() {
  std::int32_t selectedInRun = 0;
  for (std::int32_t i = 0; i < count;) {
    const KPLPFEffort* effort = GetItem(i);
    if (effort == nullptr) return;
    bool keep = true;
    if (KPLEffortRole::IsMeasured(effort->RoleCode())) {
      if (effort->artificial != 0) {
        keep = selectedInRun != 0;
        selectedInRun = 0;
      } else if (effort->GetSelected(0) != 0) {
        ++selectedInRun;
      } else {
        keep = false;
      }
    }
    if (keep) {
      ++i;
    } else {
      currentIndex = i;
      Remove();
    }
  }
}

void KPLPFCompositeEffortsCollection::ComputeCrossTestVariables(KPLVisit* visit) {
  if (count <= 0 || FirstMeasuredIndex() < 0) return;
  SetModified(true);
  std::int32_t scratch = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    KPLPFEffort* effort = GetItem(i);
    if (effort == nullptr || !KPLEffortRole::IsMeasured(effort->RoleCode())) continue;
    if (effort->artificial != 0) {
      const KPLPFProtocolStage stage = effort->stage;
      CalculateArtificialEffort(&stage, scratch, visit);
    } else {
      effort->ComputeCrossTestVariables(visit);
    }
  }
}

void KPLPFCompositeEffortsCollection::RecalculateEfforts(std::int32_t flag, KPLVisit* visit) {
  const std::int32_t first = FirstMeasuredIndex();
  if (count <= 0 || first < 0) return;
  KPLPFEffortsCollection::RecalculateEfforts(flag, visit);
  std::int32_t scratch = 0;
  for (std::int32_t i = first; i < count; ++i) {
    const KPLPFEffort* effort = GetItem(i);
    if (effort != nullptr) SetEffortSelected(i, scratch, effort->GetSelected(0), visit, 0);
  }
}

void KPLPFCompositeEffortsCollection::SetEffortRpLp(std::int32_t index, std::int32_t& previousIndex,
                                                    std::int32_t& artificialIndex, std::int32_t flag,
                                                    KPLVisit* visit) {
  KPLPFEffort* effort = GetItem(index);
  if (effort == nullptr) return;
  if (effort->artificial != 0) {
    effort->rpLp = 0;
    return;
  }
  if (flag != 0) {
    std::int32_t scratch = 0;
    SetEffortSelected(index, scratch, 1, visit, 0);
  }
  effort = GetItem(index);
  if (effort == nullptr) return;
  const KPLPFProtocolStage stage = effort->stage;
  if (flag == 1) {
    for (std::int32_t i = 0; i < count; ++i) {
      KPLPFEffort* other = GetItem(i);
      if (other == nullptr || other->rpLp == 0 || !(other->stage == stage)) continue;
      other->rpLp = 0;
      other->SetModified(true);
      previousIndex = i;
    }
  }
  effort = GetItem(index);
  if (effort == nullptr) return;
  effort->rpLp = flag;
  CalculateArtificialEffort(&stage, artificialIndex, visit);
  if (KPLPFEffort* again = GetItem(index)) again->SetModified(true);
}

bool KPLPFCompositeEffortsCollection::AssignEffortsToStagesResettingRoles(KPLVisit* visit) {
  ClearMeasuredRoles();
  return KPLPFCompositeEffortsCollection::AssignEffortsToStages(visit);
}
