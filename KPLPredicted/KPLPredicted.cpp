#include "KPLPredicted/KPLPredicted.h"

#include "KPLClassLibrary/KplGlobal.h"
#include "KPLDomainObjects/KPLVisit.h"
#include "KPLPredicted/KPLPredDlg.h"

namespace {
constexpr const char* kModule = "KPLPredicted/KPLPredicted";
}  // namespace

CKPLPredictedDll::~CKPLPredictedDll() = default;

void CKPLPredictedDll::Calculate(KPLDataStore* store, KPLRegistry* registry, KPLVisit* visit, PRED_TYPE type) {
  if (store == nullptr) {
    KPL_REPORT(kModule, "No patient data store object");
    return;
  }
  if (registry == nullptr) {
    KPL_REPORT(kModule, "No registry object");
    return;
  }
  if (visit == nullptr) {
    KPL_REPORT(kModule, "No predicted visit object");
    return;
  }
  // The PF results are stored before the GX calculator starts.
  if (type == PRED_PF_AND_GX || type == PRED_PF) RunPFCalculator(store, registry, visit);
  if (type == PRED_PF_AND_GX || type == PRED_GX) RunGXCalculator(store, registry, visit);
}

std::int32_t CKPLPredictedDll::UpdatePlethPredictedsWithObserved(KPLDataStore* store, KPLRegistry* registry,
                                                                 KPLVisit* visit) {
  if (visit == nullptr) {
    KPL_REPORT(kModule, "No predicted visit object.");
    return 0;
  }
  if (visit->plethPredictedsUseObserved == 0) return 0;
  CKPLPredDlg calculator(store, registry, visit, nullptr);
  calculator.SetPlethOnly();
  (void)calculator.DoModal();
  return 1;
}

std::int32_t CKPLPredictedDll::UpdateDLCOPredicteds(KPLDataStore* store, KPLRegistry* registry, KPLVisit* visit,
                                                    std::int32_t hbMethod, std::int32_t hbCorrection,
                                                    std::int32_t altitudeCorrection, std::int32_t force) {
  if (visit == nullptr) {
    KPL_REPORT(kModule, "No predicted visit object.");
    return 0;
  }
  if (visit->dlcoPredictedsUseObserved == 0 && altitudeCorrection == 0 && hbCorrection == 0 && force == 0) {
    return 0;
  }
  CKPLPredDlg calculator(store, registry, visit, nullptr);
  calculator.SetDLCOOnly(hbMethod, hbCorrection != 0, altitudeCorrection != 0);
  (void)calculator.DoModal();
  return 1;
}

void CKPLPredictedDll::RunPFCalculator(KPLDataStore* store, KPLRegistry* registry, KPLVisit* visit) {
  CKPLPredDlg calculator(store, registry, visit, nullptr);
  (void)calculator.DoModal();
}

void CKPLPredictedDll::RunGXCalculator(KPLDataStore* /*store*/, KPLRegistry* /*registry*/, KPLVisit* /*visit*/) {}
