// KPLGenericEffort: an effort of any test without a class of its own (SVC,
// MVV, DLCO, Pleth, ABG, …): it stores and answers a value for any variable
// number, and keeps the test type it was made for.
#pragma once

#include <cstdint>
#include <map>

#include "KPLDomainObjects/KPLPFEffort.h"

class KPLGenericEffort : public KPLPFEffort {
 public:
  explicit KPLGenericEffort(std::int32_t effortTestType = 0) : madeFor_(effortTestType) {
    KPLGenericEffort::Clear();
  }

  // No values; the test type it was made for.
  void Clear() override;
  // The stored value; 0.0 for a number never stored.
  [[nodiscard]] double GetVariable(std::int32_t variableNumber) const override;
  using KPLPFEffort::GetVariable;
  void SetVariable(std::int32_t variableNumber, double value) override;
  [[nodiscard]] bool HasVariable(std::int32_t variableNumber) const;
  // The stored values by variable number.
  [[nodiscard]] const std::map<std::int32_t, double>& Values() const { return values_; }

 private:
  std::int32_t madeFor_;
  std::map<std::int32_t, double> values_;
};
