// CKPLPredictedDll: the entry object through which a host asks for the
// predicted values of a visit. It has no state: each operation checks its
// arguments, runs a calculator to completion and returns; the results are
// written into the visit.
#pragma once

#include <cstdint>

class KPLDataStore;
class KPLRegistry;
class KPLVisit;

class CKPLPredictedDll {
 public:
  // Which calculators Calculate runs.
  enum PRED_TYPE : std::int32_t {
    PRED_PF_AND_GX = 0,  // PF, then GX
    PRED_PF = 1,
    PRED_GX = 2,
  };

  CKPLPredictedDll() = default;
  virtual ~CKPLPredictedDll();

  // Runs the calculators `type` names. A missing store, registry or visit is
  // reported (the first only) and nothing runs; any other type runs nothing.
  void Calculate(KPLDataStore* store, KPLRegistry* registry, KPLVisit* visit, PRED_TYPE type);
  // Recomputes and stores the pleth variables 80 and 81 when their equations
  // use the visit's observed values; 1 when the PF calculator ran, else 0.
  std::int32_t UpdatePlethPredictedsWithObserved(KPLDataStore* store, KPLRegistry* registry, KPLVisit* visit);
  // Recomputes and stores the DLCO variables 102, 103 and 107, with the
  // hemoglobin (method 0 … 3) and altitude corrections when asked, if their
  // equations use observed values, a correction is asked or `force` is set;
  // 1 when the PF calculator ran, else 0.
  std::int32_t UpdateDLCOPredicteds(KPLDataStore* store, KPLRegistry* registry, KPLVisit* visit,
                                    std::int32_t hbMethod, std::int32_t hbCorrection,
                                    std::int32_t altitudeCorrection, std::int32_t force);

 private:
  static void RunPFCalculator(KPLDataStore* store, KPLRegistry* registry, KPLVisit* visit);
  // The GX calculator's place; it does nothing until that calculator exists.
  static void RunGXCalculator(KPLDataStore* store, KPLRegistry* registry, KPLVisit* visit);
};
