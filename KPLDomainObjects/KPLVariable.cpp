#include "KPLDomainObjects/KPLVariable.h"

#include <algorithm>
#include <span>

namespace {

// Variables whose conventional and SI units differ by a factor: SI value =
// conventional value × factor. The last group also lists 3216, which converts
// but whose SIFactor is 1.
constexpr std::int32_t kCmH2OToKPa[] = {46, 51, 80, 83, 84, 85};
constexpr std::int32_t kKPaToCmH2O[] = {47, 81, 82, 88};
constexpr std::int32_t kMmolFactor[] = {102, 103, 104, 105, 107};
constexpr std::int32_t kMmHgToKPa[] = {153,  154,  161,  168,  222,  234,  236,  239,  256,  261,
                                       267,  290,  1039, 1041, 1098, 1100, 3037, 3038, 3046, 3047,
                                       3066, 3096, 3102, 3106, 3152, 3216, 3523, 3524, 3550, 3565};
constexpr std::int32_t kConvertsButFactorOne = 3216;

struct FactorGroup {
  std::span<const std::int32_t> numbers;
  double factor;
};
constexpr FactorGroup kFactorGroups[] = {
    {kCmH2OToKPa, 0.098},
    {kKPaToCmH2O, 10.2},
    {kMmolFactor, 0.335},
    {kMmHgToKPa, 0.1333},
};

const FactorGroup* FindGroup(std::int32_t number) {
  for (const FactorGroup& group : kFactorGroups) {
    if (std::find(group.numbers.begin(), group.numbers.end(), number) != group.numbers.end()) return &group;
  }
  return nullptr;
}

constexpr double kKilometersPerMile = 1.609344;

}  // namespace

void KPLVariable::Clear() {
  name.clear();
  text2.clear();
  source.clear();
  texts4To6 = {};
  value1 = 0.0;
  variableNumber = -1;
  decimals = 0;
  flag1 = false;
  testType = 0;
  values2To10 = {};
  flags2To4 = {};
  KPLDomainObject::Clear();
}

void KPLVariable::SetUnitSettings(std::int32_t siSetting, std::int32_t speedSetting,
                                  std::int32_t temperatureSetting) {
  siSetting_ = siSetting;
  speedSetting_ = speedSetting;
  temperatureSetting_ = temperatureSetting;
}

double KPLVariable::ConvertUnits(double value, std::int32_t from, std::int32_t to) const {
  if (value == kNoValue || value == 0.0 || from == to) return value;
  if (from < kConventional || from > kMilesPerHour || to < kConventional || to > kMilesPerHour) return kNoValue;
  // Allowed pairs: 0<->1, 2<->3, 4<->5, i.e. the two codes of one system.
  if (from / 2 != to / 2) return kNoValue;

  if (const FactorGroup* group = FindGroup(variableNumber)) {
    if (to == kSI) return value * group->factor;
    if (to == kConventional) return value / group->factor;
    return kNoValue;
  }
  if (variableNumber == kTemperatureVariable) {
    if (to == kCelsius) return (value - 32.0) * 0.5555555555555556;
    if (to == kFahrenheit) return value * 1.8 + 32.0;
    return kNoValue;
  }
  if (variableNumber == kSpeedVariable) {
    if (to == kMilesPerHour) return value / kKilometersPerMile;
    if (to == kKilometersPerHour) return value * kKilometersPerMile;
    return kNoValue;
  }
  return value;
}

double KPLVariable::ToStoredUnits(double value) const {
  if (variableNumber == kSpeedVariable) return ConvertUnits(value, speedSetting_, kKilometersPerHour);
  if (variableNumber == kTemperatureVariable) return ConvertUnits(value, temperatureSetting_, kCelsius);
  return ConvertUnits(value, siSetting_, kSI);
}

double KPLVariable::SIFactor(std::int32_t variableNumber) {
  if (variableNumber == kConvertsButFactorOne) return 1.0;
  const FactorGroup* group = FindGroup(variableNumber);
  return group != nullptr ? group->factor : 1.0;
}

bool KPLVariable::HasFOTSource() const {
  static constexpr std::string_view kFOTSource = "[FOTData]";
  if (source.size() != kFOTSource.size()) return false;
  for (std::size_t i = 0; i < source.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(source[i]) != lower(kFOTSource[i])) return false;
  }
  return true;
}
