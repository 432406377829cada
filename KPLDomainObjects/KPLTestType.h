// KPLTestType: the test-type codes stored in visits and variable definitions,
// which of them have an efforts collection in the visit, and their display
// names.
#pragma once

#include <cstdint>
#include <string_view>

class KPLTestType {
 public:
  enum Code : std::int32_t {
    kNone = 0,
    kFVC = 1,
    kMVV = 2,
    kSVC = 3,
    kDLCO = 4,
    kFRCN2 = 5,
    kABG = 8,
    kMIPMEP = 9,
    kStatic = 10,
    kDynamic = 11,
    kSBN2 = 12,
    kPleth = 16,
    kP100 = 20,
    kDeltaCO2 = 21,
    kTest22 = 22,
    kTest23 = 23,
    kFOT = 25,
    kPEF = 27,
  };

  // A code the system accepts (with or without a collection).
  [[nodiscard]] static bool IsValid(std::int32_t testType);
  // A code whose efforts the visit keeps in a collection.
  [[nodiscard]] static bool HasCollection(std::int32_t testType);
  // "FVC", "Delta CO2", …; empty for a code without a display name.
  [[nodiscard]] static std::string_view DisplayName(std::int32_t testType);
  // The string resource of the display name; 0 when there is none.
  [[nodiscard]] static int StringId(std::int32_t testType);
};
