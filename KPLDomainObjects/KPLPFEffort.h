// KPLPFEffort: the base of one pulmonary-function effort (manoeuvre): its time,
// selection, role, stage and composite flag, and the operations through which
// a collection or the host asks an effort for its values and calculations.
//
// The concrete classes (FVC, PEF, FOT and the generic effort) store their own
// variables and calculations; the base answers 0.0 and does nothing.
#pragma once

#include <cstdint>

#include "KPLClassLibrary/KplDateTimeValue.h"
#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLEffortRole.h"
#include "KPLDomainObjects/KPLGuid.h"
#include "KPLDomainObjects/KPLPFProtocolStage.h"

class KPLVisit;

class KPLPFEffort : public KPLDomainObject {
 public:
  KPLPFEffort() { KPLPFEffort::Clear(); }

  // Every member to its default except hostNumberB; test type 0.
  void Clear() override;

  [[nodiscard]] virtual std::int32_t GetSelected(std::int32_t unused) const;
  virtual void SetSelected(std::int32_t newSelected, std::int32_t unused);
  [[nodiscard]] virtual double GetVariable(std::int32_t variableNumber) const;
  // Stores GetVariable(variableNumber) through `value` (when not null).
  virtual void GetVariable(std::int32_t variableNumber, double* value) const;
  virtual void SetVariable(std::int32_t variableNumber, double value);
  virtual void RecalculateRatios(std::int32_t unused);
  virtual void ComputeCrossTestVariables(KPLVisit* visit);
  virtual void LookupCrossTestVariables(KPLVisit* visit);
  virtual void CalculateFlows(std::int32_t flag, KPLVisit* visit);
  virtual void Calculate(KPLVisit* visit);
  // cumulativeDose := Σ doseCount × dose over the visit's stages up to this
  // effort's stage order that some stage-start event names.
  virtual void RecalculateCumulativeDose(KPLVisit* visit);

  [[nodiscard]] std::uint8_t RoleCode() const { return roleInfo.roleCode; }

  KPLDateTimeValue effortTime;  // null after Clear
  KPLGuid effortGuid;
  std::int32_t selected = 0;    // counts for the test's results
  std::int32_t rpLp = 0;        // its inspiratory loop goes into the stage's composite effort
  std::int32_t artificial = 0;  // the composite effort of its stage
  bool manual = false;          // values entered by hand; calculations refuse it
  KPLEffortRole roleInfo;
  KPLPFProtocolStage stage;
  std::int32_t hostNumberA = -1;  // kept for the host
  std::int32_t hostNumberB = 0;   // kept for the host; Clear leaves it
  double cumulativeDose = 0.0;    // Σ doseCount × dose of the stages given so far
  std::int32_t testType = 0;      // the test type of the concrete class
};
