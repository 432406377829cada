#include "tools/kplpredicted/VisitJson.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <nlohmann/json.hpp>

#include "KPLDomainObjects/KPLFOTEffort.h"
#include "KPLDomainObjects/KPLFVCEffort.h"
#include "KPLDomainObjects/KPLGenericEffort.h"
#include "KPLDomainObjects/KPLPEFEffort.h"
#include "KPLDomainObjects/KPLTestType.h"

namespace kplcli {
namespace {

using nlohmann::json;

class Fields {
 public:
  explicit Fields(std::vector<std::string>& errors) : errors_(errors) {}

  void Error(const std::string& where, const std::string& what) { errors_.push_back(where + ": " + what); }

  void Known(const json& object, const std::string& path, std::initializer_list<const char*> names) {
    for (const auto& [key, unused] : object.items()) {
      bool known = false;
      for (const char* n : names) known = known || key == n;
      if (!known) Error(Join(path, key), "unknown field");
    }
  }

  static std::string Join(const std::string& path, const std::string& key) { return path.empty() ? key : path + "." + key; }

  // A finite number within [lo, hi], stored as float.
  void Number(const json& object, const std::string& path, const char* key, float& out, double lo, double hi) {
    auto it = object.find(key);
    if (it == object.end() || it->is_null()) return;
    if (!it->is_number()) return Error(Join(path, key), "must be a number");
    const double v = it->get<double>();
    if (!std::isfinite(v) || v < lo || v > hi)
      return Error(Join(path, key), "must lie between " + Text(lo) + " and " + Text(hi));
    out = static_cast<float>(v);
  }

  void Int(const json& object, const std::string& path, const char* key, std::int32_t& out, bool required) {
    auto it = object.find(key);
    if (it == object.end()) {
      if (required) Error(Join(path, key), "is missing");
      return;
    }
    if (!it->is_number_integer()) return Error(Join(path, key), "must be a whole number");
    const auto v = it->get<std::int64_t>();
    if (v < -1000000 || v > 1000000) return Error(Join(path, key), "is out of range");
    out = static_cast<std::int32_t>(v);
  }

  void String(const json& object, const std::string& path, const char* key, std::string& out) {
    auto it = object.find(key);
    if (it == object.end() || it->is_null()) return;
    if (!it->is_string()) return Error(Join(path, key), "must be a text");
    out = it->get<std::string>();
  }

  void Date(const json& object, const std::string& path, const char* key, KPLDateTimeValue& out) {
    auto it = object.find(key);
    if (it == object.end() || it->is_null()) return;
    if (!it->is_string()) return Error(Join(path, key), "must be a date text (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS)");
    out = KPLDateTimeValue::ParseIso(it->get<std::string>());
    if (!out.ok())
      Error(Join(path, key), "\"" + it->get<std::string>() + "\" is not a valid date (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS)");
  }

 private:
  static std::string Text(double v) {
    std::string s = std::to_string(v);
    s.erase(s.find_last_not_of('0') + 1);
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
  }
  std::vector<std::string>& errors_;
};

std::unique_ptr<KPLPFEffort> MakeEffort(std::int32_t testType) {
  switch (testType) {
    case KPLTestType::kFVC: return std::make_unique<KPLFVCEffort>();
    case KPLTestType::kFOT: return std::make_unique<KPLFOTEffort>();
    case KPLTestType::kPEF: return std::make_unique<KPLPEFEffort>();
    default: return std::make_unique<KPLGenericEffort>(testType);
  }
}

}  // namespace

std::unique_ptr<VisitDocument> ReadVisit(const json& document, std::vector<std::string>& errors) {
  Fields f(errors);
  const std::size_t before = errors.size();
  if (!document.is_object()) {
    f.Error("visit", "must be a JSON object");
    return nullptr;
  }
  auto doc = std::make_unique<VisitDocument>();
  KPLVisit& v = doc->visit;
  f.Known(document, "", {"predSetName", "gxPredSetName", "visitDate", "age", "height", "weight", "armSpan", "bsa",
                         "bmi", "yearsSmoked", "yearsQuit", "barometricPressure", "patient", "efforts"});
  f.String(document, "", "predSetName", v.predSetName);
  f.String(document, "", "gxPredSetName", v.gxPredSetName);
  f.Date(document, "", "visitDate", v.visitDate);
  f.Number(document, "", "age", v.age, 0, 150);
  f.Number(document, "", "height", v.height, 0, 300);
  f.Number(document, "", "weight", v.weight, 0, 700);
  f.Number(document, "", "armSpan", v.armSpan, 0, 300);
  f.Number(document, "", "bsa", v.bsa, 0, 10);
  f.Number(document, "", "bmi", v.bmi, 0, 200);
  f.Number(document, "", "yearsSmoked", v.yearsSmoked, 0, 150);
  f.Number(document, "", "yearsQuit", v.yearsQuit, 0, 150);
  f.Number(document, "", "barometricPressure", v.barometricPressure, 0, 2000);

  auto patient = document.find("patient");
  if (patient == document.end() || !patient->is_object()) {
    f.Error("patient", patient == document.end() ? "is missing" : "must be an object");
  } else {
    f.Known(*patient, "patient", {"sex", "race", "birthDate"});
    f.Int(*patient, "patient", "sex", doc->patient.sex, true);
    f.Int(*patient, "patient", "race", doc->patient.race, false);
    f.Date(*patient, "patient", "birthDate", doc->patient.birthDate);
    if (doc->patient.sex != 1 && doc->patient.sex != 2 && patient->contains("sex") && (*patient)["sex"].is_number_integer())
      f.Error("patient.sex", "must be 1 (male) or 2 (female)");
  }

  auto efforts = document.find("efforts");
  if (efforts != document.end()) {
    if (!efforts->is_array()) {
      f.Error("efforts", "must be an array");
    } else {
      for (std::size_t i = 0; i < efforts->size(); ++i) {
        const std::string path = "efforts[" + std::to_string(i) + "]";
        const json& e = (*efforts)[i];
        if (!e.is_object()) {
          f.Error(path, "must be an object");
          continue;
        }
        f.Known(e, path, {"testType", "role", "selected", "time", "values"});
        std::int32_t testType = -1, role = 0;
        f.Int(e, path, "testType", testType, true);
        f.Int(e, path, "role", role, false);
        if (role < 0 || role > 255) f.Error(path + ".role", "must be 0 to 255");
        KPLPFEffortsCollection* collection = nullptr;
        if (e.contains("testType")) {
          if (!KPLTestType::IsValid(testType) || !KPLTestType::HasCollection(testType)) {
            f.Error(path + ".testType", std::to_string(testType) + " is not a test type with efforts");
          } else {
            collection = v.EffortsCollection(testType);
          }
        }
        auto effort = MakeEffort(testType);
        effort->roleInfo.roleCode = static_cast<std::uint8_t>(std::clamp(role, 0, 255));
        if (auto s = e.find("selected"); s != e.end()) {
          if (!s->is_boolean()) {
            f.Error(path + ".selected", "must be true or false");
          } else {
            effort->selected = s->get<bool>() ? 1 : 0;
          }
        }
        f.Date(e, path, "time", effort->effortTime);
        if (auto values = e.find("values"); values != e.end()) {
          if (!values->is_object()) {
            f.Error(path + ".values", "must be an object of variable number: value");
          } else {
            for (const auto& [key, value] : values->items()) {
              char* end = nullptr;
              const long number = std::strtol(key.c_str(), &end, 10);
              if (key.empty() || *end != '\0' || number < 0 || number > 100000) {
                f.Error(path + ".values." + key, "the key must be a variable number");
              } else if (!value.is_number() || !std::isfinite(value.get<double>())) {
                f.Error(path + ".values." + key, "must be a number");
              } else {
                effort->SetVariable(static_cast<std::int32_t>(number), value.get<double>());
              }
            }
          }
        }
        if (collection && errors.size() == before) collection->Append(*effort);
      }
    }
  }
  if (errors.size() != before) return nullptr;
  return doc;
}

std::unique_ptr<VisitDocument> ReadVisitText(const std::string& text, std::vector<std::string>& errors) {
  json document = json::parse(text, nullptr, false);
  if (document.is_discarded()) {
    try {
      json again = json::parse(text);
      (void)again;
    } catch (const json::parse_error& e) {
      errors.push_back(std::string("not valid JSON: ") + e.what());
      return nullptr;
    }
    errors.push_back("not valid JSON");
    return nullptr;
  }
  return ReadVisit(document, errors);
}

}  // namespace kplcli
