#include "KPLDomainObjects/KPLGXPredictedRecord.h"

void KPLGXPredictedRecord::Clear() {
  bpSystolic = 0.0;
  hr = 0.0;
  metsBike = 0.0;
  metsTreadmill = 0.0;
  ratePressureProduct = 0.0;
  veBtps = 0.0;
  veNormalisedPredicted = 0.0;
  vo2PerKgBike = 0.0;
  vo2PerKgTreadmill = 0.0;
  vo2Bike = 0.0;
  vo2Treadmill = 0.0;
  vo2PerBeatBike = 0.0;
  vo2PerBeatTreadmill = 0.0;
  hostValue1 = 0.0;
  hostValue2 = 0.0;
  reePerDay = 0.0;
  reePerSquareMeterHour = 0.0;
  vco2Bike = 0.0;
  vco2Treadmill = 0.0;
  trueVo2Bike = 0.0;
  trueVo2Treadmill = 0.0;
  trueVco2Bike = 0.0;
  trueVco2Treadmill = 0.0;
  veVo2Bike = 0.0;
  veVo2Treadmill = 0.0;
  veVco2Bike = 0.0;
  veVco2Treadmill = 0.0;
  hostValue3 = 0.0;
  workBike = 0.0;
  workTreadmill = 0.0;
  KPLDomainObject::Clear();
}
