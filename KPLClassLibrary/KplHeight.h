// KPLHeight: a height and its unit, converted in place between units in
// single precision. Unit numbers are those stored in the `Height Unit` setting.
#pragma once

#include <cstdint>

class KPLHeight {
 public:
  enum Unit : std::int32_t { kNoUnit = 0, kInch = 1, kFoot = 2, kMeter = 3, kCentimeter = 4 };

  KPLHeight() { Reset(); }

  void Reset();
  void SetValue(float value, std::int32_t unit);
  void ConvertTo(std::int32_t unit);

  // "Inches", "Feet", "Meters", "Cms"; "??" otherwise.
  [[nodiscard]] static const char* UnitName(std::int32_t unit);

  std::int32_t unit;
  float value;
};
