// Reading a visit for the main job from JSON:
//   {"predSetName": "", "gxPredSetName": "", "visitDate": "2026-03-01T10:30:00",
//    "age": 45.5, "height": 175.0, "weight": 80.0, "armSpan": 0, "bsa": 0, "bmi": 0,
//    "yearsSmoked": 0, "yearsQuit": 0, "barometricPressure": 760,
//    "patient": {"sex": 1, "race": 1, "birthDate": "1980-09-01"},
//    "efforts": [{"testType": 4, "role": 2, "selected": true,
//                 "time": "2026-03-01T10:40:00", "values": {"106": 5.9}}]}
// Height and arm span in cm, weight in kg, pressure in mmHg; measured values
// in stored (SI) units. Every field is optional except patient.sex.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "KPLDomainObjects/KPLPatient.h"
#include "KPLDomainObjects/KPLVisit.h"

namespace kplcli {

// A visit with the patient record it points to.
struct VisitDocument {
  KPLPatient patient;
  KPLVisit visit;
  VisitDocument() { visit.patient = &patient; }
  VisitDocument(const VisitDocument&) = delete;
  VisitDocument& operator=(const VisitDocument&) = delete;
};

// The visit, or nothing with `errors` naming each bad field ("efforts[1].testType: ...").
[[nodiscard]] std::unique_ptr<VisitDocument> ReadVisit(const nlohmann::json& document, std::vector<std::string>& errors);
[[nodiscard]] std::unique_ptr<VisitDocument> ReadVisitText(const std::string& text, std::vector<std::string>& errors);

}  // namespace kplcli
