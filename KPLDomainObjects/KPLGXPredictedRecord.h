// KPLGXPredictedRecord: the predicted values of the exercise (GX) quantities
// of a visit, written by the GX calculator. Blood pressures are stored in SI
// units; the members marked "not written" belong to the host.
#pragma once

#include "KPLDomainObjects/KPLDomainObject.h"

class KPLGXPredictedRecord : public KPLDomainObject {
 public:
  KPLGXPredictedRecord() { KPLGXPredictedRecord::Clear(); }

  // Every value 0.0.
  void Clear() override;

  double bpSystolic = 0.0;  // SI
  double hr = 0.0;
  double metsBike = 0.0;
  double metsTreadmill = 0.0;
  double ratePressureProduct = 0.0;  // SI, as the blood pressure
  double veBtps = 0.0;
  double veNormalisedPredicted = 0.0;
  double vo2PerKgBike = 0.0;
  double vo2PerKgTreadmill = 0.0;
  double vo2Bike = 0.0;
  double vo2Treadmill = 0.0;
  double vo2PerBeatBike = 0.0;
  double vo2PerBeatTreadmill = 0.0;
  double hostValue1 = 0.0;  // not written
  double hostValue2 = 0.0;  // not written
  double reePerDay = 0.0;
  double reePerSquareMeterHour = 0.0;
  double vco2Bike = 0.0;
  double vco2Treadmill = 0.0;
  double trueVo2Bike = 0.0;
  double trueVo2Treadmill = 0.0;
  double trueVco2Bike = 0.0;
  double trueVco2Treadmill = 0.0;
  double veVo2Bike = 0.0;
  double veVo2Treadmill = 0.0;
  double veVco2Bike = 0.0;
  double veVco2Treadmill = 0.0;
  double hostValue3 = 0.0;  // not written
  double workBike = 0.0;
  double workTreadmill = 0.0;
};
