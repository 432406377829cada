#include "KPLDomainObjects/KPLPFEffort.h"

#include "KPLClassLibrary/KplGlobal.h"
#include "KPLDomainObjects/KPLVisit.h"

namespace {
constexpr const char* kModule = "KPLDomainObjects/KPLPFEffort";
}

void KPLPFEffort::Clear() {
  effortTime = KPLDateTimeValue();
  effortGuid.Empty();
  selected = 0;
  rpLp = 0;
  artificial = 0;
  manual = false;
  roleInfo.Clear();
  stage.Clear();
  hostNumberA = -1;
  cumulativeDose = 0.0;
  testType = 0;
  KPLDomainObject::Clear();
}

std::int32_t KPLPFEffort::GetSelected(std::int32_t /*unused*/) const { return selected; }

void KPLPFEffort::SetSelected(std::int32_t newSelected, std::int32_t /*unused*/) { selected = newSelected; }

double KPLPFEffort::GetVariable(std::int32_t /*variableNumber*/) const { return 0.0; }

void KPLPFEffort::GetVariable(std::int32_t variableNumber, double* value) const {
  if (value != nullptr) *value = GetVariable(variableNumber);
}

void KPLPFEffort::SetVariable(std::int32_t /*variableNumber*/, double /*value*/) {}

void KPLPFEffort::RecalculateRatios(std::int32_t /*unused*/) {}

void KPLPFEffort::ComputeCrossTestVariables(KPLVisit* /*visit*/) {}

void KPLPFEffort::LookupCrossTestVariables(KPLVisit* /*visit*/) {}

void KPLPFEffort::CalculateFlows(std::int32_t /*flag*/, KPLVisit* /*visit*/) {}

void KPLPFEffort::Calculate(KPLVisit* /*visit*/) {}

void KPLPFEffort::RecalculateCumulativeDose(KPLVisit* visit) {
  if (visit == nullptr) {
    KPL_REPORT(kModule, "Visit not initialized.");
    return;
  }
  double sum = 0.0;
  for (const KPLPFProtocolStage& s : visit->stages.Items()) {
    if (s.order > stage.order) break;
    for (const KPLVisitEvent& event : visit->events.Items()) {
      if (event.type == KPLVisitEvent::kStageStart && event.label == s.label) {
        sum += s.doseCount * s.dose;
        break;
      }
    }
  }
  cumulativeDose = sum;
  modified_ = true;
}
