// KPLPressure: a pressure and its unit, converted in place through mmHg in
// single precision. Unit numbers are those of the `Pressure Unit` setting;
// 0 is mmHg and 7 means no unit.
#pragma once

#include <cstdint>

class KPLPressure {
 public:
  enum Unit : std::int32_t {
    kMmHg = 0, kCmH2O = 1, kKPa = 2, kHPa = 3, kTorr = 4, kInHg = 5, kInH2O = 6, kNoUnit = 7
  };

  KPLPressure() { Reset(); }

  void Reset();
  // Stores the value; the unit only when it is not kNoUnit (0 sets mmHg).
  void SetValue(float value, std::int32_t unit);
  void ConvertTo(std::int32_t unit);

  // "mmHg", "cmH20", "kPa", "hPa", "torr", "inHg", "inH2O"; "??" otherwise.
  [[nodiscard]] static const char* UnitName(std::int32_t unit);

  std::int32_t unit;
  float value;
};
