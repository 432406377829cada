// KPLPEFEffort: one peak-flow blow (test type 27). Its PEF is variable 298;
// for the predicted pseudo-effort, the patient's personal best.
#pragma once

#include <cstdint>

#include "KPLDomainObjects/KPLPFEffort.h"

class KPLPEFEffort : public KPLPFEffort {
 public:
  static constexpr std::int32_t kTestType = 27;
  static constexpr std::int32_t kPEFVariable = 298;
  static constexpr std::int32_t kSecondVariable = 299;

  KPLPEFEffort() { KPLPEFEffort::Clear(); }

  // Test type 27, both values 0.0.
  void Clear() override;
  // 298 and 299 only; any other number is reported.
  [[nodiscard]] double GetVariable(std::int32_t variableNumber) const override;
  using KPLPFEffort::GetVariable;
  void SetVariable(std::int32_t variableNumber, double value) override;

  double value298 = 0.0;  // PEF
  double value299 = 0.0;  // stored and returned only
};
