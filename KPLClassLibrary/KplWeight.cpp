#include "KPLClassLibrary/KplWeight.h"

#include "KPLClassLibrary/KplGlobal.h"
#include "KPLClassLibrary/KplUnits.h"

namespace {

using namespace kpl_detail;
constexpr const char* kModule = "KPLClassLibrary/KplWeight";

// kSteps[to - 1][from - 1]: ounce, pound, kilogram, gram, stone.
constexpr UnitStep kSteps[5][5] = {
    {kSame, Mul(16.0f), Mul(35.274143f), Mul(0.035274144f), Mul(224.0f)},
    {Div(16.0f), kSame, Mul(2.204634f), Mul(0.002204634f), Mul(14.0f)},
    {Div(35.274143f), Div(2.204634f), kSame, Div(1000.0f), Mul(6.3502603f)},
    {Div(0.035274144f), Div(0.002204634f), Mul(1000.0f), kSame, Mul(6350.2603f)},
    {Div(224.0f), Div(14.0f), Div(6.3502603f), Div(6350.2603f), kSame},
};

bool Valid(std::int32_t unit) { return unit >= 1 && unit <= 5; }

}  // namespace

void KPLWeight::Reset() {
  unit = kNoUnit;
  value = 0.0f;
}

void KPLWeight::SetValue(float newValue, std::int32_t newUnit) {
  value = newValue;
  if (newUnit != kNoUnit) unit = newUnit;
}

void KPLWeight::ConvertTo(std::int32_t target) {
  if (value == 0.0f || target == unit) return;
  if (!Valid(target)) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid weight unit: %d.", target));
  } else if (!Valid(unit)) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid weight unit: %d.", unit));
  } else {
    value = kSteps[target - 1][unit - 1].Apply(value);
  }
  unit = target;
}

const char* KPLWeight::UnitName(std::int32_t unit) {
  static constexpr const char* kNames[] = {"Ozs", "Lbs", "Kgs", "Grams"};
  return unit >= 1 && unit <= 4 ? kNames[unit - 1] : "??";
}
