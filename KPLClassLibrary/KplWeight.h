// KPLWeight: a weight and its unit, converted in place between units in
// single precision. Unit numbers are those stored in the `Weight Unit` setting.
#pragma once

#include <cstdint>

class KPLWeight {
 public:
  enum Unit : std::int32_t { kNoUnit = 0, kOunce = 1, kPound = 2, kKilogram = 3, kGram = 4, kStone = 5 };

  KPLWeight() { Reset(); }

  // No unit, value 0.
  void Reset();
  // Stores the value; the unit only when it is not kNoUnit.
  void SetValue(float value, std::int32_t unit);
  // Converts the value to `unit` and makes it current (see the unit table).
  void ConvertTo(std::int32_t unit);

  // "Ozs", "Lbs", "Kgs", "Grams"; "??" for a unit without a display name.
  [[nodiscard]] static const char* UnitName(std::int32_t unit);

  std::int32_t unit;
  float value;
};
