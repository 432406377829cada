#include "KPLDomainObjects/KPLPFEffortsCollection.h"

#include "KPLClassLibrary/KplGlobal.h"
#include "KPLDomainObjects/KPLVisit.h"

namespace {

constexpr const char* kModule = "KPLDomainObjects/KPLPFEffortsCollection";
// Report lines fixed by the design.
constexpr int kGetItemLine = 34;
constexpr int kGetCurrentItemLine = 43;
constexpr int kStageLabelLine = 273;
constexpr int kNullStageLine = 813;

constexpr double kOneSecond = 1.0 / 86400.0;  // [days]

// Pseudo-efforts are dated before every recorded effort; marked efforts dated
// before the limit are left-overs.
KPLDateTimeValue PredEffortTime() { return KPLDateTimeValue::FromParts(1801, 1, 1); }
KPLDateTimeValue SDEffortTime() { return KPLDateTimeValue::FromParts(1805, 1, 1); }
KPLDateTimeValue OldMarkLimit() { return KPLDateTimeValue::FromParts(1850, 1, 1, 1, 1, 1); }

bool IsOldMarked(const KPLPFEffort& effort) {
  const std::uint8_t code = effort.RoleCode();
  return effort.effortTime < OldMarkLimit() &&
         (code == kRoleReporting || code == kRoleExclusive3 || code == kRoleExclusive4);
}

}  // namespace

void KPLPFEffortsCollection::Clear() {
  collectionFlag = true;
  hostWords = {};
  KPLDomainCollection::Clear();
}

KPLPFEffort* KPLPFEffortsCollection::GetCurrentItem() {
  ReportAssertion(0, kModule, kGetCurrentItemLine, "Should never get here.");
  return nullptr;
}

KPLPFEffort* KPLPFEffortsCollection::GetItem(std::int32_t /*index*/) {
  ReportAssertion(0, kModule, kGetItemLine, "Should never get here.");
  return nullptr;
}

bool KPLPFEffortsCollection::ValidateCollection(KPLValidationResult* /*result*/) const { return true; }

std::unique_ptr<KPLPFEffort> KPLPFEffortsCollection::NewEffort() const { return nullptr; }

void KPLPFEffortsCollection::InsertPseudoEffort(std::int32_t at, const KPLDateTimeValue& time,
                                                std::uint8_t roleCode) {
  std::unique_ptr<KPLPFEffort> effort = NewEffort();
  if (effort == nullptr) return;
  effort->effortTime = time;
  effort->roleInfo.roleCode = roleCode;
  const std::int32_t previous = currentIndex;
  currentIndex = at;
  Insert(*effort);
  currentIndex = previous;
}

void KPLPFEffortsCollection::InsertEmptyPredEffort() { InsertPseudoEffort(0, PredEffortTime(), kRolePredicted); }

void KPLPFEffortsCollection::InsertEmptySDEffort() {
  const std::int32_t previous = currentIndex;
  if (FindPredEffort() == nullptr) InsertEmptyPredEffort();
  InsertPseudoEffort(1, SDEffortTime(), kRoleStandardDeviation);
  currentIndex = previous;
}

bool KPLPFEffortsCollection::HasStageWithoutSelection() {
  const std::int32_t first = FirstMeasuredIndex();
  if (first < 0) return false;
  bool runSelected = false;
  KPLPFProtocolStage runStage;
  for (std::int32_t i = first; i < count; ++i) {
    const KPLPFEffort* effort = GetItem(i);
    if (effort == nullptr) return false;
    if (i > first && !(effort->stage == runStage)) {
      if (!runSelected) return true;
      runSelected = false;
    }
    runStage = effort->stage;
    if (effort->GetSelected(0) != 0) runSelected = true;
  }
  return !runSelected;
}

std::int32_t KPLPFEffortsCollection::LastEffortIsArtificial() {
  if (count <= 0) return 0;
  const KPLPFEffort* last = GetItem(count - 1);
  return last != nullptr ? last->artificial : 0;
}

KPLPFEffort* KPLPFEffortsCollection::FindMatchingEffort(const KPLPFEffort& effort, std::int32_t mode) {
  const bool isPredicted = effort.RoleCode() == kRolePredicted;
  const auto firstSameTime = [&]() -> KPLPFEffort* {
    for (std::int32_t i = 0; i < count; ++i) {
      KPLPFEffort* item = GetItem(i);
      if (item != nullptr && item->effortTime == effort.effortTime) return item;
    }
    return nullptr;
  };
  const auto firstMarkedOfOrder = [&](int order) -> KPLPFEffort* {
    for (std::int32_t i = 0; i < count; ++i) {
      KPLPFEffort* item = GetItem(i);
      if (item != nullptr && KPLEffortRole::IsMarked(item->RoleCode()) && item->stage.order == order) return item;
    }
    return nullptr;
  };

  switch (mode) {
    case 0:
      if (KPLPFEffort* item = firstSameTime()) return item;
      return isPredicted ? nullptr : firstMarkedOfOrder(effort.stage.order);
    case 2: {
      if (isPredicted || count <= 0) return nullptr;
      for (int k = effort.stage.order; k >= 1; --k) {
        if (KPLPFEffort* item = firstMarkedOfOrder(k)) return item;
      }
      const KPLPFEffort* last = GetItem(count - 1);
      const int lastOrder = last != nullptr ? last->stage.order : 0;
      for (int k = effort.stage.order + 1; k <= lastOrder; ++k) {
        if (KPLPFEffort* item = firstMarkedOfOrder(k)) return item;
      }
      return nullptr;
    }
    case 3: {
      KPLPFEffort* latest = nullptr;
      for (std::int32_t i = 0; i < count; ++i) {
        KPLPFEffort* item = GetItem(i);
        if (item == nullptr || !KPLEffortRole::IsMarked(item->RoleCode())) continue;
        if (item->effortTime > effort.effortTime) break;
        latest = item;
      }
      return latest;
    }
    default:
      if (!isPredicted) {
        if (KPLPFEffort* item = firstMarkedOfOrder(effort.stage.order)) return item;
      }
      return firstSameTime();
  }
}

KPLPFEffort* KPLPFEffortsCollection::FindArtificialEffort(const KPLPFProtocolStage* stage) {
  if (stage == nullptr) {
    ReportAssertion(0, kModule, kNullStageLine, "Stage not initialized.");
    return nullptr;
  }
  for (std::int32_t i = 0; i < count; ++i) {
    KPLPFEffort* item = GetItem(i);
    if (item != nullptr && item->artificial != 0 && item->stage == *stage) return item;
  }
  return nullptr;
}

void KPLPFEffortsCollection::SetEffortSelected(std::int32_t index, std::int32_t& /*artificialIndex*/,
                                               std::int32_t newSelected, KPLVisit* /*visit*/, std::int32_t extra) {
  KPLPFEffort* effort = GetItem(index);
  if (effort == nullptr) return;
  if (effort->RoleCode() == kRoleNone || newSelected != 0) {
    effort->SetSelected(newSelected, extra);
    effort->SetModified(true);
  }
}

void KPLPFEffortsCollection::SetEffortRole(std::int32_t index, std::uint8_t roleCode, std::int32_t& clearedA,
                                           std::int32_t& clearedB, KPLVisit* visit) {
  KPLPFEffort* effort = GetItem(index);
  if (effort == nullptr) return;
  clearedA = -1;
  clearedB = -1;
  if (roleCode == kRoleNone) {
    effort->roleInfo.roleCode = kRoleNone;
    effort->SetModified(true);
    return;
  }
  const KPLPFProtocolStage stage = effort->stage;
  const std::int32_t first = FirstMeasuredIndex();
  const auto takeRole = [](KPLPFEffort& other) {
    other.roleInfo.roleCode = kRoleNone;
    other.SetModified(true);
  };
  // A role other than the shared mark belongs to one effort of the collection.
  if (roleCode != kRoleShared && first >= 0) {
    for (std::int32_t i = first; i < count; ++i) {
      KPLPFEffort* other = GetItem(i);
      if (i != index && other != nullptr && other->RoleCode() == roleCode) {
        takeRole(*other);
        clearedA = i;
        break;
      }
    }
  }
  // One effort with a role per stage.
  if (first >= 0) {
    for (std::int32_t i = first; i < count; ++i) {
      KPLPFEffort* other = GetItem(i);
      if (i == index || other == nullptr || other->RoleCode() == kRoleNone || !(other->stage == stage)) continue;
      takeRole(*other);
      (clearedA == -1 ? clearedA : clearedB) = i;
    }
  }
  std::int32_t scratch = 0;
  SetEffortSelected(index, scratch, 1, visit, 0);
  if (KPLPFEffort* again = GetItem(index)) {
    again->roleInfo.roleCode = roleCode;
    again->SetModified(true);
  }
}

bool KPLPFEffortsCollection::GetCollectionFlag() const { return collectionFlag; }

bool KPLPFEffortsCollection::AssignEffortsToStages(KPLVisit* visit) {
  const std::int32_t first = FirstMeasuredIndex();
  if (count <= 0 || first < 0) return true;
  if (visit == nullptr) {
    KPL_REPORT(kModule, "Visit not initialized.");
    return false;
  }
  SetModified(true);
  KPLDateTimeValue referenceTime(0.0);
  double doseSum = 0.0;
  for (const KPLVisitEvent& event : visit->events.Items()) {
    if (event.type != KPLVisitEvent::kStageStart) {
      referenceTime = event.time;
      continue;
    }
    const KPLPFProtocolStage* stage = nullptr;
    for (const KPLPFProtocolStage& candidate : visit->stages.Items()) {
      if (candidate.label == event.label) {
        stage = &candidate;
        break;
      }
    }
    if (stage == nullptr) {
      ReportAssertion(0, kModule, kStageLabelLine, KplFormat("Could not find stage label %s.", event.label.c_str()));
      return false;
    }
    doseSum += stage->doseCount * stage->dose;
    for (std::int32_t i = first; i < count; ++i) {
      KPLPFEffort* effort = GetItem(i);
      if (effort != nullptr && effort->effortTime.DayNumber() > referenceTime.DayNumber()) {
        effort->stage = *stage;
        effort->cumulativeDose = doseSum;
      }
    }
  }
  std::int32_t scratchA = 0;
  std::int32_t scratchB = 0;
  for (std::int32_t i = first; i < count; ++i) {
    const KPLPFEffort* effort = GetItem(i);
    if (effort != nullptr && effort->RoleCode() != kRoleNone) {
      SetEffortRole(i, effort->RoleCode(), scratchA, scratchB, visit);
    }
  }
  for (std::int32_t i = first; i < count; ++i) {
    const KPLPFEffort* effort = GetItem(i);
    if (effort != nullptr) SetEffortSelected(i, scratchA, effort->GetSelected(0), visit, 0);
  }
  return true;
}

void KPLPFEffortsCollection::RemoveAt(std::int32_t index) {
  currentIndex = index;
  Remove();
}

void KPLPFEffortsCollection::DeleteUnselectedEfforts() {
  for (std::int32_t i = 0; i < count;) {
    const KPLPFEffort* effort = GetItem(i);
    if (effort == nullptr) return;
    if (KPLEffortRole::IsMeasured(effort->RoleCode()) && effort->GetSelected(0) == 0) {
      RemoveAt(i);
    } else {
      ++i;
    }
  }
}

void KPLPFEffortsCollection::RemoveOldMarkedEfforts() {
  for (std::int32_t i = 0; i < count;) {
    const KPLPFEffort* effort = GetItem(i);
    if (effort == nullptr) return;
    if (IsOldMarked(*effort)) {
      RemoveAt(i);
    } else {
      ++i;
    }
  }
}

void KPLPFEffortsCollection::ClearModifiedFlags() {
  for (std::int32_t i = 0; i < count; ++i) {
    if (KPLPFEffort* effort = GetItem(i)) effort->SetModified(false);
  }
  SetModified(false);
}

void KPLPFEffortsCollection::RemoveArtificialAndOldMarkedEfforts() {
  for (std::int32_t i = 0; i < count;) {
    const KPLPFEffort* effort = GetItem(i);
    if (effort == nullptr) return;
    if (effort->artificial != 0 || IsOldMarked(*effort)) {
      RemoveAt(i);
    } else {
      ++i;
    }
  }
}

void KPLPFEffortsCollection::ComputeCrossTestVariables(KPLVisit* visit) {
  if (count <= 0 || FirstMeasuredIndex() < 0) return;
  SetModified(true);
  for (std::int32_t i = 0; i < count; ++i) {
    KPLPFEffort* effort = GetItem(i);
    if (effort != nullptr && KPLEffortRole::IsMeasured(effort->RoleCode())) effort->ComputeCrossTestVariables(visit);
  }
}

void KPLPFEffortsCollection::LookupCrossTestVariables(KPLVisit* visit) {
  if (count <= 0 || FirstMeasuredIndex() < 0) return;
  SetModified(true);
  for (std::int32_t i = 0; i < count; ++i) {
    KPLPFEffort* effort = GetItem(i);
    if (effort != nullptr && KPLEffortRole::IsMeasured(effort->RoleCode())) effort->LookupCrossTestVariables(visit);
  }
}

void KPLPFEffortsCollection::RecalculateEfforts(std::int32_t flag, KPLVisit* visit) {
  if (count <= 0 || FirstMeasuredIndex() < 0) return;
  SetModified(true);
  for (std::int32_t i = 0; i < count; ++i) {
    KPLPFEffort* effort = GetItem(i);
    if (effort != nullptr && effort->RoleCode() == kRoleNone) effort->CalculateFlows(flag, visit);
  }
}

void KPLPFEffortsCollection::CalculateArtificialEffort(const KPLPFProtocolStage* /*stage*/,
                                                       std::int32_t& /*artificialIndex*/, KPLVisit* /*visit*/) {}

void KPLPFEffortsCollection::BuildArtificialEfforts(KPLVisit* visit, KPLPFEffort& templateEffort) {
  const std::int32_t first = FirstMeasuredIndex();
  if (first < 0) return;
  KPLPFProtocolStage previousStage;
  KPLDateTimeValue previousTime;
  double previousDose = 0.0;
  std::int32_t scratch = 0;
  // Makes the template the composite effort of the run that just ended.
  const auto fillTemplate = [&]() {
    templateEffort.Clear();
    templateEffort.roleInfo.roleCode = kRoleShared;
    templateEffort.stage = previousStage;
    templateEffort.effortTime = KPLDateTimeValue(previousTime.DayNumber() + kOneSecond);
    templateEffort.effortTime.SetStatus(previousTime.GetStatus());
    templateEffort.cumulativeDose = previousDose;
    templateEffort.artificial = 1;
  };
  bool seen = false;
  for (std::int32_t i = first; i < count; ++i) {
    const KPLPFEffort* effort = GetItem(i);
    if (effort == nullptr) return;
    if (seen && !(effort->stage == previousStage)) {
      fillTemplate();
      currentIndex = i;
      Insert(templateEffort);
      ++i;  // past the inserted copy
      CalculateArtificialEffort(&previousStage, scratch, visit);
      effort = GetItem(i);  // the insertion moved the items
      if (effort == nullptr) return;
    }
    previousStage = effort->stage;
    previousTime = effort->effortTime;
    previousDose = effort->cumulativeDose;
    seen = true;
  }
  if (seen) {
    fillTemplate();
    Append(templateEffort);
    CalculateArtificialEffort(&previousStage, scratch, visit);
  }
}

void KPLPFEffortsCollection::InsertArtificialEfforts(KPLVisit* visit) {
  std::unique_ptr<KPLPFEffort> templateEffort = NewEffort();
  if (templateEffort != nullptr) BuildArtificialEfforts(visit, *templateEffort);
}

std::int32_t KPLPFEffortsCollection::FirstMeasuredIndex() {
  for (std::int32_t i = 0; i < count; ++i) {
    const KPLPFEffort* effort = GetItem(i);
    if (effort != nullptr && KPLEffortRole::IsMeasured(effort->RoleCode())) return i;
  }
  return -1;
}

KPLPFEffort* KPLPFEffortsCollection::FindByRole(std::int32_t from, std::uint8_t roleCode) {
  for (std::int32_t i = from; i < count; ++i) {
    KPLPFEffort* effort = GetItem(i);
    if (effort != nullptr && effort->RoleCode() == roleCode) return effort;
  }
  return nullptr;
}

KPLPFEffort* KPLPFEffortsCollection::FindPredEffort() { return FindByRole(0, kRolePredicted); }

KPLPFEffort* KPLPFEffortsCollection::FindSDEffort() { return FindByRole(0, kRoleStandardDeviation); }

KPLPFEffort* KPLPFEffortsCollection::FindFirstReportingEffort() {
  const std::int32_t first = FirstMeasuredIndex();
  return first < 0 ? nullptr : FindByRole(first, kRoleReporting);
}

void KPLPFEffortsCollection::ClearMeasuredRoles() {
  const std::int32_t first = FirstMeasuredIndex();
  if (first < 0) return;
  for (std::int32_t i = first; i < count; ++i) {
    KPLPFEffort* effort = GetItem(i);
    if (effort != nullptr && effort->RoleCode() != kRoleNone && effort->artificial == 0) {
      effort->roleInfo.roleCode = kRoleNone;
    }
  }
}
