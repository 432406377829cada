// KPLPFProtocolStage: one stage of a test protocol (baseline, then a stage
// per dose of an agent). Held in the visit's stage list and copied into every
// effort of the stage.
#pragma once

#include <cstdint>
#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLGuid.h"

class KPLPFProtocolStage : public KPLDomainObject {
 public:
  KPLPFProtocolStage() { KPLPFProtocolStage::Clear(); }

  void Clear() override;
  // An empty label fails with error code 2.
  [[nodiscard]] bool Validate(KPLValidationResult* result) const override;
  // Stages never count as modified.
  [[nodiscard]] bool IsModified() const override;

  // Two stages are one stage when all six members are equal (texts byte for
  // byte, the dose as a double); the flags do not take part.
  friend bool operator==(const KPLPFProtocolStage& a, const KPLPFProtocolStage& b);

  std::string label;  // the visit's events name stages by it
  KPLGuid stageGuid;
  std::uint8_t doseCount = 0;  // how many times the dose is given
  double dose = 0.0;
  std::string stageText;   // compared, never interpreted
  std::uint8_t order = 0;  // position in the protocol: 1, 2, …
};
