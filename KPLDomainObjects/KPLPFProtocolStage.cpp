#include "KPLDomainObjects/KPLPFProtocolStage.h"

#include "KPLDomainObjects/KPLValidationResult.h"

void KPLPFProtocolStage::Clear() {
  label.clear();
  stageGuid.Empty();
  doseCount = 0;
  dose = 0.0;
  stageText.clear();
  order = 0;
  KPLDomainObject::Clear();
}

bool KPLPFProtocolStage::Validate(KPLValidationResult* result) const {
  if (!label.empty()) return true;
  if (result != nullptr) result->errorCode = KPLValidationResult::kEmptyStageLabel;
  return false;
}

bool KPLPFProtocolStage::IsModified() const { return false; }

bool operator==(const KPLPFProtocolStage& a, const KPLPFProtocolStage& b) {
  return a.stageGuid == b.stageGuid && a.label == b.label && a.dose == b.dose && a.doseCount == b.doseCount &&
         a.order == b.order && a.stageText == b.stageText;
}
