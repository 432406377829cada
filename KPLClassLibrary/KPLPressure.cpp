#include "KPLClassLibrary/KPLPressure.h"

#include "KPLClassLibrary/KplGlobal.h"
#include "KPLClassLibrary/KplUnits.h"

namespace {

using namespace kpl_detail;
constexpr const char* kModule = "KPLClassLibrary/KPLPressure";

// Per unit 0 to 6: the step into mmHg and the step out of it.
constexpr UnitStep kToMmHg[7] = {kSame,       Div(1.36f), Mul(7.501875f),   Mul(0.7501876f),
                                 kSame,       Div(0.03937f), Div(0.53543305f)};
constexpr UnitStep kFromMmHg[7] = {kSame,       Mul(1.36f), Mul(0.1333f),     Mul(1.333f),
                                   kSame,       Mul(0.03937f), Mul(0.53543305f)};

bool Valid(std::int32_t unit) { return unit >= 0 && unit <= 6; }

}  // namespace

void KPLPressure::Reset() {
  unit = kNoUnit;
  value = 0.0f;
}

void KPLPressure::SetValue(float newValue, std::int32_t newUnit) {
  value = newValue;
  if (newUnit != kNoUnit) unit = newUnit;
}

void KPLPressure::ConvertTo(std::int32_t target) {
  if (value == 0.0f || target == unit) return;
  // Into mmHg; an unknown current unit is taken as mmHg already.
  if (Valid(unit)) {
    value = kToMmHg[unit].Apply(value);
  } else {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid pressure unit: %d.", unit));
  }
  // Out of mmHg; an unknown target leaves the value in mmHg.
  if (Valid(target)) {
    value = kFromMmHg[target].Apply(value);
  } else {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid pressure unit: %d.", target));
  }
  unit = target;
}

const char* KPLPressure::UnitName(std::int32_t unit) {
  static constexpr const char* kNames[] = {"mmHg", "cmH20", "kPa", "hPa", "torr", "inHg", "inH2O"};
  return Valid(unit) ? kNames[unit] : "??";
}
