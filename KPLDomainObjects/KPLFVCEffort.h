// KPLFVCEffort: one forced-vital-capacity manoeuvre of spirometry (test type 1)
// and its spirometric variables.
//
// Holds one value per accepted variable number and the acceptability code
// characters; the curves and the calculations that fill the values belong to
// the spirometry code.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "KPLDomainObjects/KPLPFEffort.h"

class KPLFVCEffort : public KPLPFEffort {
 public:
  static constexpr std::int32_t kTestType = 1;
  // The variable numbers GetVariable and SetVariable accept.
  static constexpr std::array<std::int32_t, 63> kVariableNumbers = {
      2,  3,  458, 4,  5,  6,  7,  44, 45, 8,  9,  10,  11,  12, 70, 293, 294, 69,  241, 242, 243,
      244, 13, 14,  15, 16, 17, 18, 19, 20, 21, 22, 24,  25,  28, 23, 55,  26,  27,  40,  41,  29,
      30, 31, 36,  32, 33, 34, 35, 37, 68, 52, 53, 62,  61,  71, 72, 73,  204, 42,  43,  205, 206};
  // SetVariable accepts this number and ignores it.
  static constexpr std::int32_t kIgnoredVariable = 54;

  KPLFVCEffort() { KPLFVCEffort::Clear(); }

  // Test type 1, no codes, every variable 0.0.
  void Clear() override;
  [[nodiscard]] double GetVariable(std::int32_t variableNumber) const override;
  using KPLPFEffort::GetVariable;
  void SetVariable(std::int32_t variableNumber, double value) override;

  std::string codes;  // acceptability code characters, one per failed check

 private:
  std::array<double, kVariableNumbers.size()> values_{};
};
