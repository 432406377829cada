// KPLPredDerived: the derivation pass of the PF calculator. After each
// equation pass it fills the predicted values the set has no equation for
// (copies, percent ratios, lung-volume subdivisions) and applies the
// hemoglobin, carboxyhemoglobin and altitude corrections to the predicted
// DLCO. Every value goes through the calculator's grid as "%0.7f" text.
#pragma once

#include <cstdint>
#include <limits>

class CKPLPredDlg;

class KPLPredDerived {
 public:
  // The mark of a DLCO base not yet taken.
  static constexpr double kUnsetBase = std::numeric_limits<float>::max();
  // The program's own values of 2/3 and 1/3; the results depend on them.
  static constexpr double kTwoThirds = 0.66666666;
  static constexpr double kOneThird = 0.33333334;

  // One pass over the calculator's grid.
  void Run(CKPLPredDlg& calculator);
  // The uncorrected predicted DLCO the corrections start from, taken in the
  // first pass; kUnsetBase before.
  [[nodiscard]] double CachedBase() const { return cachedBase_; }

  // The corrected DLCO from base Q. `hbMethod` 0 … 3 picks the hemoglobin
  // formula; `maleAdult` is a male of 15 whole years or more; `pressure` is the
  // barometric pressure [mmHg]. Answers Q when nothing corrects it.
  [[nodiscard]] static double CorrectDLCO(double q, std::int32_t hbMethod, double hemoglobin, double hematocrit,
                                          double carboxyhemoglobin, bool maleAdult, bool altitudeCorrection,
                                          double pressure);

 private:
  void CorrectDLCO(CKPLPredDlg& calculator);
  void PercentRatios(CKPLPredDlg& calculator);
  // Answers the working FRC.
  double LungVolumes(CKPLPredDlg& calculator);

  double cachedBase_ = kUnsetBase;
};
