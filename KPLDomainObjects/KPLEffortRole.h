// KPLEffortRole: the role of an effort in its collection — a code with the
// rules of KPLPFEffortsCollection, and a text for the host.
#pragma once

#include <cstdint>
#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"

// Role codes of an effort.
enum KPLEffortRoleCode : std::uint8_t {
  kRoleNone = 0,                // an ordinary measured effort
  kRolePredicted = 1,           // the predicted pseudo-effort, index 0
  kRoleReporting = 2,           // the test's reporting effort; one per collection
  kRoleExclusive3 = 3,          // a mark; one per collection
  kRoleExclusive4 = 4,          // a mark; one per collection
  kRoleStandardDeviation = 5,   // the standard-deviation pseudo-effort, index 1
  kRoleShared = 8,              // a mark any number may carry; composite efforts carry it
};

class KPLEffortRole : public KPLDomainObject {
 public:
  KPLEffortRole() { KPLEffortRole::Clear(); }

  void Clear() override;

  // Measured efforts: codes 0, 2, 3, 4 and 8.
  [[nodiscard]] static constexpr bool IsMeasured(std::uint8_t code) {
    return code == kRoleNone || IsMarked(code);
  }
  // Marked efforts: codes 2, 3, 4 and 8.
  [[nodiscard]] static constexpr bool IsMarked(std::uint8_t code) {
    return code == kRoleReporting || code == kRoleExclusive3 || code == kRoleExclusive4 || code == kRoleShared;
  }

  std::string roleText;
  std::uint8_t roleCode = kRoleNone;
};
