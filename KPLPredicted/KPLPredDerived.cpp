#include "KPLPredicted/KPLPredDerived.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "KPLDomainObjects/KPLPatient.h"
#include "KPLDomainObjects/KPLVisit.h"
#include "KPLPredicted/KPLPredDlg.h"

namespace {

// Percent ratios filled when the target has no equation of its own, in the
// order they are computed.
struct Ratio {
  std::int32_t target;
  std::int32_t numerator;
  std::int32_t denominator;
};
constexpr Ratio kRatios[] = {
    {94, 91, 98}, {93, 90, 99}, {8, 3, 2},    {9, 4, 2},    {10, 5, 2},  {11, 6, 2},
    {12, 7, 2},   {37, 16, 33}, {31, 30, 29}, {70, 23, 2},  {293, 16, 2}, {294, 19, 2},
    {244, 23, 7}, {241, 3, 7},  {69, 4, 7},   {242, 5, 7},  {243, 6, 7},
};

// Lung-volume variables: nitrogen washout and plethysmography.
constexpr std::int32_t kVC = 52, kIC = 53, kERV = 54;
constexpr std::int32_t kFrcN2 = 60, kRvN2 = 61, kTlcN2 = 62, kRvTlcN2 = 63;
constexpr std::int32_t kFrcPleth = 75, kRvPleth = 76, kTlcPleth = 77, kRvTlcPleth = 78, kVolumeDifference = 79;

bool HasNoAuthor(CKPLPredDlg& calculator, std::int32_t variableNumber) {
  return calculator.AuthorOf(variableNumber).empty();
}

}  // namespace

void KPLPredDerived::Run(CKPLPredDlg& calculator) {
  if (calculator.HbCorrection()) {
    CorrectDLCO(calculator);
  } else if (HasNoAuthor(calculator, 103)) {
    calculator.CopyValueTexts(102, 103);
  }
  if (HasNoAuthor(calculator, 106)) calculator.CopyValueTexts(kTlcPleth, 106);
  if (HasNoAuthor(calculator, 107)) {
    const double va = calculator.ReadPredicted(106);
    const double dlco = calculator.ReadPredicted(102);
    if (va != 0 && dlco != 0) calculator.WritePredicted(107, dlco / va);
  }
  PercentRatios(calculator);
  const double frc = LungVolumes(calculator);
  if (HasNoAuthor(calculator, 204)) {
    const double vc = calculator.ReadPredicted(kVC);
    if (vc != 0) calculator.WritePredicted(204, calculator.ReadPredicted(4) / vc * 100);
  }
  if (HasNoAuthor(calculator, kVolumeDifference)) {
    const double tgv = calculator.ReadPredicted(kFrcPleth);
    if (tgv != 0 && frc != 0) calculator.WritePredicted(kVolumeDifference, tgv - frc);
  }
}

void KPLPredDerived::PercentRatios(CKPLPredDlg& calculator) {
  for (const Ratio& ratio : kRatios) {
    if (!HasNoAuthor(calculator, ratio.target)) continue;
    const double denominator = calculator.ReadPredicted(ratio.denominator);
    const double numerator = calculator.ReadPredicted(ratio.numerator);
    if (numerator != 0 && denominator != 0) calculator.WritePredicted(ratio.target, numerator / denominator * 100);
  }
}

double KPLPredDerived::LungVolumes(CKPLPredDlg& calculator) {
  CKPLPredDlg& c = calculator;
  const auto orElse = [&c](std::int32_t first, std::int32_t second) {
    const double value = c.ReadPredicted(first);
    return value != 0 ? value : c.ReadPredicted(second);
  };
  double rv = orElse(kRvPleth, kRvN2);
  double frc = orElse(kFrcPleth, kFrcN2);
  const double vc = c.ReadPredicted(kVC);
  double tlc = orElse(kTlcPleth, kTlcN2);

  // VC, IC and ERV are read back after each write, so they carry its rounding.
  const auto vcNow = [&c] { return c.ReadPredicted(kVC); };
  const auto icNow = [&c] { return c.ReadPredicted(kIC); };
  const auto ervNow = [&c] { return c.ReadPredicted(kERV); };
  const auto defaultIC = [&] {
    if (icNow() == 0) c.WritePredicted(kIC, vcNow() * kTwoThirds);
  };
  const auto ervFromIC = [&] {
    if (ervNow() == 0) c.WritePredicted(kERV, vcNow() - icNow());
  };
  const auto setFRC = [&](double value) {
    frc = value;
    c.WritePredicted(kFrcN2, value);
    c.WritePredicted(kFrcPleth, value);
  };
  const auto setRV = [&](double value) {
    rv = value;
    c.WritePredicted(kRvN2, value);
    c.WritePredicted(kRvPleth, value);
  };
  const auto setTLC = [&](double value) {
    tlc = value;
    c.WritePredicted(kTlcN2, value);
    c.WritePredicted(kTlcPleth, value);
  };

  const int known = (rv != 0 ? 1 : 0) + (tlc != 0 ? 2 : 0) + (vc != 0 ? 4 : 0) + (frc != 0 ? 8 : 0);
  switch (known) {
    case 3:  // RV, TLC
      c.WritePredicted(kVC, tlc - rv);
      defaultIC();
      if (ervNow() == 0) c.WritePredicted(kERV, vcNow() * kOneThird);
      c.WritePredicted(kFrcN2, ervNow() + rv);
      frc = c.ReadPredicted(kFrcN2);
      c.WritePredicted(kFrcPleth, frc);
      break;
    case 4:  // VC
      defaultIC();
      ervFromIC();
      break;
    case 5:  // RV, VC
      defaultIC();
      ervFromIC();
      setFRC(ervNow() + rv);
      setTLC(vc + rv);
      break;
    case 6:  // TLC, VC
      defaultIC();
      ervFromIC();
      setRV(tlc - vc);
      setFRC(ervNow() + rv);
      break;
    case 7:  // RV, TLC, VC
      defaultIC();
      ervFromIC();
      setFRC(ervNow() + rv);
      break;
    case 9:  // RV, FRC
      if (ervNow() == 0) c.WritePredicted(kERV, frc - rv);
      if (vcNow() == 0) c.WritePredicted(kVC, ervNow() / kOneThird);
      if (icNow() == 0) c.WritePredicted(kIC, vcNow() - ervNow());
      setTLC(vcNow() + rv);
      break;
    case 11:  // RV, TLC, FRC
      if (vcNow() == 0) c.WritePredicted(kVC, tlc - rv);
      if (ervNow() == 0) c.WritePredicted(kERV, frc - rv);
      if (icNow() == 0) c.WritePredicted(kIC, vcNow() - ervNow());
      break;
    case 12:  // VC, FRC
      defaultIC();
      ervFromIC();
      setRV(frc - ervNow());
      setTLC(vc + rv);
      break;
    case 13:  // RV, VC, FRC
      setTLC(vc + rv);
      if (icNow() == 0) c.WritePredicted(kIC, tlc - frc);
      ervFromIC();
      break;
    case 14:  // TLC, VC, FRC
      defaultIC();
      ervFromIC();
      setRV(frc - ervNow());
      break;
    case 15:  // all four
      if (icNow() == 0) c.WritePredicted(kIC, tlc - frc);
      ervFromIC();
      break;
    default:  // too little known
      break;
  }

  if (tlc > 0 && c.ReadPredicted(kRvTlcN2) == 0) c.WritePredicted(kRvTlcN2, rv * 100 / tlc);
  if (c.ReadPredicted(kFrcPleth) == 0) c.WritePredicted(kFrcPleth, frc);
  if (c.ReadPredicted(kRvPleth) == 0) c.WritePredicted(kRvPleth, rv);
  if (c.ReadPredicted(kTlcPleth) == 0) c.WritePredicted(kTlcPleth, tlc);
  if (c.ReadPredicted(kRvTlcPleth) == 0) c.WritePredicted(kRvTlcPleth, c.ReadPredicted(kRvTlcN2));
  return frc;
}

void KPLPredDerived::CorrectDLCO(CKPLPredDlg& calculator) {
  if (cachedBase_ == kUnsetBase) {
    std::string text;
    if (!HasNoAuthor(calculator, 103)) text = calculator.PredictedText(103);
    if (text.empty()) text = calculator.PredictedText(102);
    cachedBase_ = std::strtod(text.c_str(), nullptr);
  }
  const CKPLPredDlg::State& state = calculator.GetState();
  const KPLVisit* visit = calculator.GetVisit();
  const bool male = visit->patient != nullptr && visit->patient->sex == KPLPatient::kMale;
  const bool maleAdult = male && std::trunc(visit->AgeAtVisit()) >= 15;
  calculator.WritePredicted(103, CorrectDLCO(cachedBase_, calculator.HbMethod(), state.hemoglobin, state.hematocrit,
                                             state.carboxyhemoglobin, maleAdult, calculator.AltitudeCorrection(),
                                             visit->barometricPressure));
}

double KPLPredDerived::CorrectDLCO(double q, std::int32_t hbMethod, double hemoglobin, double hematocrit,
                                   double carboxyhemoglobin, bool maleAdult, bool altitudeCorrection,
                                   double pressure) {
  double hb = hemoglobin;
  double hct = hematocrit;
  if (hb > 0 && hct <= 0) {
    hct = hb * 3.0;
  } else if (hct > 0 && hb <= 0) {
    hb = hct * 0.3333333333333333;
  }
  double p = 0;
  if (hb > 0) {
    switch (hbMethod) {
      case 0:
        p = q * 1.7 * hb / (hb + (maleAdult ? 10.22 : 9.38));
        break;
      case 1:
        p = q * hb * 0.06965;
        break;
      case 2:
        p = q / (7.5 / hb + 0.5);
        break;
      case 3:
        p = q - (44 - hct) * 0.325;
        break;
      default:
        break;
    }
  }
  if (carboxyhemoglobin > 0) p = (hb > 0 ? p : q) / (carboxyhemoglobin * 0.01 + 1);
  if (altitudeCorrection) {
    if (p == 0) p = q;
    if (pressure > 0) p = p / (((pressure - 47) * 0.21 - 150) * 0.0031 + 1);
  }
  // Nothing to correct with: the base stays, rather than a predicted DLCO of 0.
  if (hb <= 0 && carboxyhemoglobin <= 0 && !altitudeCorrection) p = q;
  return p;
}
