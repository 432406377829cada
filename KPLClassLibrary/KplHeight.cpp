#include "KPLClassLibrary/KplHeight.h"

#include "KPLClassLibrary/KplGlobal.h"
#include "KPLClassLibrary/KplUnits.h"

namespace {

using namespace kpl_detail;
constexpr const char* kModule = "KPLClassLibrary/KplHeight";

// kSteps[to - 1][from - 1]: inch, foot, meter, centimeter.
constexpr UnitStep kSteps[4][4] = {
    {kSame, Mul(12.0f), Mul(39.37f), Mul(0.3937008f)},
    {Div(12.0f), kSame, Mul(3.28084f), Mul(0.0328084f)},
    {Mul(0.0254f), Mul(0.3048f), kSame, Div(100.0f)},
    {Mul(2.54f), Mul(30.48f), Mul(100.0f), kSame},
};

bool Valid(std::int32_t unit) { return unit >= 1 && unit <= 4; }

}  // namespace

void KPLHeight::Reset() {
  unit = kNoUnit;
  value = 0.0f;
}

void KPLHeight::SetValue(float newValue, std::int32_t newUnit) {
  value = newValue;
  if (newUnit != kNoUnit) unit = newUnit;
}

void KPLHeight::ConvertTo(std::int32_t target) {
  if (value == 0.0f || target == unit) return;
  if (!Valid(target)) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid height unit: %d.", target));
  } else if (!Valid(unit)) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid height unit: %d.", unit));
  } else {
    value = kSteps[target - 1][unit - 1].Apply(value);
  }
  unit = target;
}

const char* KPLHeight::UnitName(std::int32_t unit) {
  static constexpr const char* kNames[] = {"Inches", "Feet", "Meters", "Cms"};
  return unit >= 1 && unit <= 4 ? kNames[unit - 1] : "??";
}
