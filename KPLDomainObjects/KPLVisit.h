// KPLVisit: one patient visit — demographics, the predicted sets chosen for
// it, protocol stages and events, and one efforts collection per test type.
//
// The host creates, loads and saves visits; the calculators read the
// demographics and store predicted values back with SetPredicted.
#pragma once

#include <cstdint>
#include <string>

#include "KPLClassLibrary/KplDateTimeValue.h"
#include "KPLDomainObjects/KPLDomainObject.h"
#include "KPLDomainObjects/KPLFOTEffortsCollection.h"
#include "KPLDomainObjects/KPLFVCEffortsCollection.h"
#include "KPLDomainObjects/KPLGXPredictedRecord.h"
#include "KPLDomainObjects/KPLGenericEffortsCollection.h"
#include "KPLDomainObjects/KPLPEFEffortsCollection.h"
#include "KPLDomainObjects/KPLPFProtocolStagesCollection.h"
#include "KPLDomainObjects/KPLPatient.h"
#include "KPLDomainObjects/KPLTestType.h"
#include "KPLDomainObjects/KPLVisitEventsCollection.h"

class KPLVisit : public KPLDomainObject {
 public:
  KPLVisit() { KPLVisit::Clear(); }

  // Demographics and names reset, stages, events and efforts emptied, no
  // patient.
  void Clear() override;

  // Stores a predicted value and its standard deviation for one variable of
  // one test into the test's predicted and standard-deviation pseudo-efforts,
  // creating them when missing. A test type without a collection does
  // nothing; an invalid one is reported.
  void SetPredicted(std::int32_t testType, std::int32_t variableNumber, double predicted,
                    double standardDeviation);
  // The efforts collection of a test type; null when it has none.
  [[nodiscard]] KPLPFEffortsCollection* EffortsCollection(std::int32_t testType);
  [[nodiscard]] std::string GetPredSetName() const { return predSetName; }
  [[nodiscard]] std::string GetGXPredSetName() const { return gxPredSetName; }
  // Age in years at the visit: from the patient's birth date when it and the
  // visit date are valid, else the stored age.
  [[nodiscard]] double AgeAtVisit() const;

  KPLGXPredictedRecord gxPredicteds;
  KPLPFProtocolStagesCollection stages;
  KPLVisitEventsCollection events;
  KPLDateTimeValue visitDate;
  std::string predSetName;    // empty: "Default"
  std::string gxPredSetName;  // empty: "Default"
  float weight = 0.0f;        // [kg]
  float height = 0.0f;        // [cm]
  float armSpan = 0.0f;       // [cm]
  float bsa = 0.0f;           // [m²]
  float bmi = 0.0f;
  float age = 0.0f;  // [years]
  float yearsSmoked = 0.0f;
  float yearsQuit = 0.0f;
  float barometricPressure = 0.0f;  // [mmHg]
  KPLFVCEffortsCollection fvcEfforts;
  KPLGenericEffortsCollection plethEfforts{KPLTestType::kPleth};
  KPLGenericEffortsCollection svcEfforts{KPLTestType::kSVC};
  KPLGenericEffortsCollection mvvEfforts{KPLTestType::kMVV};
  KPLGenericEffortsCollection mipMepEfforts{KPLTestType::kMIPMEP};
  KPLGenericEffortsCollection dynamicEfforts{KPLTestType::kDynamic};
  KPLGenericEffortsCollection p100Efforts{KPLTestType::kP100};
  KPLGenericEffortsCollection staticEfforts{KPLTestType::kStatic};
  KPLGenericEffortsCollection frcN2Efforts{KPLTestType::kFRCN2};
  KPLGenericEffortsCollection dlcoEfforts{KPLTestType::kDLCO};
  KPLGenericEffortsCollection sbn2Efforts{KPLTestType::kSBN2};
  KPLGenericEffortsCollection deltaCO2Efforts{KPLTestType::kDeltaCO2};
  KPLFOTEffortsCollection fotEfforts;
  KPLGenericEffortsCollection test22Efforts{KPLTestType::kTest22};
  KPLGenericEffortsCollection test23Efforts{KPLTestType::kTest23};
  KPLGenericEffortsCollection abgEfforts{KPLTestType::kABG};
  KPLPEFEffortsCollection pefEfforts;
  KPLPatient* patient = nullptr;  // owned by the host
  std::int32_t dlcoPredictedsUseObserved = 0;
  std::int32_t plethPredictedsUseObserved = 0;
};
