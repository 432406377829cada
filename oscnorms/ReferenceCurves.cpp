#include "oscnorms/ReferenceCurves.h"

#include <cmath>
#include <span>

namespace {

// One Schulz 2013 median equation: i + a*age + h*height + w*weight.
struct Linear {
  double frequency;
  double i, a, h, w;
};

// Men [kPa*s/L].
constexpr Linear kMaleR[] = {
    {5, 0.9861137, -0.0001223, -0.0055278, 0.0029891},  {10, 0.8500105, -0.0002916, -0.00448, 0.0021392},
    {15, 0.8484545, -0.0004936, -0.0042916, 0.001687},  {20, 0.7722257, -0.0006446, -0.0037120, 0.0013924},
    {25, 0.7134742, -0.00081, -0.0033337, 0.0014541},   {35, 0.7084185, -0.0008388, -0.0030919, 0.0012065},
};
constexpr Linear kMaleX[] = {
    {10, -0.134085, -0.0005945, 0.001499, -0.0012642},   {15, -0.1034239, -0.0007079, 0.0014861, -0.0011579},
    {20, 0.0255885, -0.0009716, 0.0009511, -0.0009383},  {25, 0.1563108, -0.0010368, 0.0004089, -0.0008866},
    {35, 0.2938889, -0.0008333, -0.0005556, 0},
};
// Women [kPa*s/L]; no published R20.
constexpr Linear kFemaleR[] = {
    {5, 0.7887960, 0.0015118, -0.0046594, 0.0029768},   {10, 0.6897185, 0.0009021, -0.0039559, 0.0024615},
    {15, 0.5258876, 0.0003329, -0.0026050, 0.0019214},  {25, 0.3118373, 0.0002711, -0.0010112, 0.0012832},
    {35, 0.5139098, -0.0002254, -0.0019556, 0.0012826},
};
constexpr Linear kFemaleX[] = {
    {10, -0.19332, -0.0010049, 0.0019482, -0.0013264},   {15, -0.1428449, -0.0012609, 0.0019050, -0.0011204},
    {20, -0.0114201, -0.0013149, 0.0012569, -0.0008589}, {25, 0.0510047, -0.0014803, 0.0010831, -0.0005790},
    {35, 0.2002944, -0.0013822, 0.0002495, 0},
};

}  // namespace

ReferenceCurves::ReferenceCurves(double ageYears, double heightCm, double weightKg, std::int32_t female) {
  auto evaluate = [&](const Linear& e) {
    return Anchor{e.frequency, e.i + e.a * ageYears + e.h * heightCm + e.w * weightKg};
  };
  const bool isFemale = female != 0;
  for (const Linear& e : isFemale ? std::span<const Linear>(kFemaleR) : std::span<const Linear>(kMaleR))
    resistance_.push_back(evaluate(e));
  // Aarli's 5 Hz reactance anchors the low end.
  const double x5 = isFemale ? -std::exp(3.85 - 0.041 * heightCm + 0.014 * weightKg)
                             : -std::exp(3.57 - 0.033 * heightCm);
  reactance_.push_back({5, x5});
  for (const Linear& e : isFemale ? std::span<const Linear>(kFemaleX) : std::span<const Linear>(kMaleX))
    reactance_.push_back(evaluate(e));
}

double ReferenceCurves::GetRealReference(double frequencyHz) const { return Interpolate(resistance_, frequencyHz); }
double ReferenceCurves::GetImagReference(double frequencyHz) const { return Interpolate(reactance_, frequencyHz); }

double ReferenceCurves::Interpolate(const std::vector<Anchor>& anchors, double frequencyHz) {
  if (!(frequencyHz > anchors.front().frequency)) return anchors.front().value;  // also NaN
  if (frequencyHz >= anchors.back().frequency) return anchors.back().value;
  for (std::size_t k = 1; k < anchors.size(); ++k) {
    if (frequencyHz <= anchors[k].frequency) {
      const Anchor& lo = anchors[k - 1];
      const Anchor& hi = anchors[k];
      return lo.value + (hi.value - lo.value) * (frequencyHz - lo.frequency) / (hi.frequency - lo.frequency);
    }
  }
  return anchors.back().value;
}
