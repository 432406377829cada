#include "KPLDomainObjects/KPLVisit.h"

#include "KPLClassLibrary/KplGlobal.h"

namespace {

constexpr const char* kModule = "KPLDomainObjects/KPLVisit";
// 1/365.25 as a single-precision value: the age is computed with its rounding.
constexpr float kYearsPerDay = 0.0027378509f;

}  // namespace

void KPLVisit::Clear() {
  gxPredicteds.Clear();
  stages.Clear();
  events.Clear();
  visitDate = KPLDateTimeValue();
  predSetName.clear();
  gxPredSetName.clear();
  weight = height = armSpan = bsa = bmi = age = yearsSmoked = yearsQuit = barometricPressure = 0.0f;
  for (std::int32_t testType = 0; testType <= KPLTestType::kPEF; ++testType) {
    if (KPLPFEffortsCollection* efforts = EffortsCollection(testType)) efforts->Clear();
  }
  patient = nullptr;
  dlcoPredictedsUseObserved = 0;
  plethPredictedsUseObserved = 0;
  KPLDomainObject::Clear();
}

KPLPFEffortsCollection* KPLVisit::EffortsCollection(std::int32_t testType) {
  switch (testType) {
    case KPLTestType::kFVC: return &fvcEfforts;
    case KPLTestType::kPleth: return &plethEfforts;
    case KPLTestType::kSVC: return &svcEfforts;
    case KPLTestType::kMVV: return &mvvEfforts;
    case KPLTestType::kMIPMEP: return &mipMepEfforts;
    case KPLTestType::kDynamic: return &dynamicEfforts;
    case KPLTestType::kP100: return &p100Efforts;
    case KPLTestType::kStatic: return &staticEfforts;
    case KPLTestType::kFRCN2: return &frcN2Efforts;
    case KPLTestType::kDLCO: return &dlcoEfforts;
    case KPLTestType::kSBN2: return &sbn2Efforts;
    case KPLTestType::kDeltaCO2: return &deltaCO2Efforts;
    case KPLTestType::kFOT: return &fotEfforts;
    case KPLTestType::kTest22: return &test22Efforts;
    case KPLTestType::kTest23: return &test23Efforts;
    case KPLTestType::kABG: return &abgEfforts;
    case KPLTestType::kPEF: return &pefEfforts;
    default: return nullptr;
  }
}

void KPLVisit::SetPredicted(std::int32_t testType, std::int32_t variableNumber, double predicted,
                            double standardDeviation) {
  if (!KPLTestType::IsValid(testType)) {
    KPL_REPORT(kModule, KplFormat("Invalid test type %d.", testType));
    return;
  }
  KPLPFEffortsCollection* efforts = EffortsCollection(testType);
  if (efforts == nullptr) return;

  KPLPFEffort* predEffort = efforts->FindPredEffort();
  if (predEffort == nullptr) {
    efforts->InsertEmptyPredEffort();
    predEffort = efforts->FindPredEffort();
  }
  if (predEffort != nullptr) predEffort->SetVariable(variableNumber, predicted);

  // Inserting the SD pseudo-effort moves the items: look it up afresh.
  KPLPFEffort* sdEffort = efforts->FindSDEffort();
  if (sdEffort == nullptr) {
    efforts->InsertEmptySDEffort();
    sdEffort = efforts->FindSDEffort();
  }
  if (sdEffort != nullptr) sdEffort->SetVariable(variableNumber, standardDeviation);

  efforts->SetModified(true);
}

double KPLVisit::AgeAtVisit() const {
  if (patient != nullptr && patient->birthDate.ok() && visitDate.ok()) {
    return visitDate.DaysSince(patient->birthDate) * static_cast<double>(kYearsPerDay);
  }
  return age;
}
