// ReferenceCurves: predicted respiratory resistance and reactance of adults by
// oscillation frequency, for age, height, weight and sex.
//
// Sources:
//  - Schulz H, Flexeder C, Behr J, et al. Reference values of impulse
//    oscillometric lung function indices in adults of advanced age. PLoS One
//    2013;8:e63366. Median quantile regressions R5-R35 and X10-X35,
//    value = i + a*age + h*height[cm] + w*weight[kg].
//  - Aarli BB, Eagan TML, Ellingsen I, et al. Reference values for within-breath
//    reactance in healthy Norwegian adults (ERJ review table): the 5 Hz reactance,
//    -exp(3.57 - 0.033h) for men, -exp(3.85 - 0.041h + 0.014w) for women.
// Between the anchor frequencies the curves are linear in frequency; below 5 Hz
// and above 35 Hz the nearest anchor holds (no adult reference exists there).
// Women's R20 is interpolated between R15 and R25 (not published).
//
// Valid for adults: the Schulz cohorts span about 45 to 85 years; younger ages
// are an extrapolation. Values are in kPa*s/L.
#pragma once

#include <cstdint>
#include <vector>

class ReferenceCurves {
 public:
  ReferenceCurves(double ageYears, double heightCm, double weightKg, std::int32_t female);

  // Predicted resistance at `frequencyHz` [kPa*s/L].
  [[nodiscard]] double GetRealReference(double frequencyHz) const;
  // Predicted reactance at `frequencyHz` [kPa*s/L].
  [[nodiscard]] double GetImagReference(double frequencyHz) const;

  static constexpr double kMinimumAge = 45.0;  // below: extrapolated
  static constexpr double kMaximumAge = 85.0;

 private:
  struct Anchor {
    double frequency;
    double value;
  };
  [[nodiscard]] static double Interpolate(const std::vector<Anchor>& anchors, double frequencyHz);

  std::vector<Anchor> resistance_;
  std::vector<Anchor> reactance_;
};
