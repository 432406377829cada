// KPLVariable: the definition of one measured or derived quantity, and the
// conversion of its values between unit systems.
//
// Loaded from the store per variable set; the members marked "kept" are the
// store's and are only preserved here. Stored values are SI, except the
// temperature (164, degrees Celsius) and the speed (1072, km/h).
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>

#include "KPLDomainObjects/KPLDomainObject.h"

class KPLVariable : public KPLDomainObject {
 public:
  // Unit systems of ConvertUnits.
  enum UnitSystem : std::int32_t {
    kConventional = 0,
    kSI = 1,
    kCelsius = 2,
    kFahrenheit = 3,
    kKilometersPerHour = 4,
    kMilesPerHour = 5,
  };
  static constexpr std::int32_t kTemperatureVariable = 164;
  static constexpr std::int32_t kSpeedVariable = 1072;
  // The no-value marker of every variable value.
  static constexpr double kNoValue = std::numeric_limits<double>::max();

  KPLVariable() { KPLVariable::Clear(); }

  void Clear() override;

  // Class-wide unit settings, set by the calculators from the settings record.
  static void SetUnitSettings(std::int32_t siSetting, std::int32_t speedSetting, std::int32_t temperatureSetting);
  [[nodiscard]] static std::int32_t SISetting() { return siSetting_; }
  [[nodiscard]] static std::int32_t SpeedSetting() { return speedSetting_; }
  [[nodiscard]] static std::int32_t TemperatureSetting() { return temperatureSetting_; }

  // Converts a value of this variable; kNoValue for a disallowed unit pair.
  [[nodiscard]] double ConvertUnits(double value, std::int32_t from, std::int32_t to) const;
  // From the class-wide setting into the stored units of this variable.
  [[nodiscard]] double ToStoredUnits(double value) const;
  // Factor from conventional to SI units of a variable; 1.0 for most.
  [[nodiscard]] static double SIFactor(std::int32_t variableNumber);
  // True when `source` is "[FOTData]" in any case: the value comes from the
  // forced-oscillation reference curves.
  [[nodiscard]] bool HasFOTSource() const;

  std::string name;
  std::string text2;  // kept
  std::string source;
  std::array<std::string, 3> texts4To6;  // kept
  double value1 = 0.0;                   // kept
  std::int32_t variableNumber = -1;
  std::uint8_t decimals = 0;  // decimal places for display
  bool flag1 = false;         // kept
  std::int32_t testType = 0;
  std::array<double, 9> values2To10{};  // kept
  std::array<bool, 3> flags2To4{};      // kept

 private:
  static inline std::int32_t siSetting_ = kSI;
  static inline std::int32_t speedSetting_ = kKilometersPerHour;
  static inline std::int32_t temperatureSetting_ = kCelsius;
};
