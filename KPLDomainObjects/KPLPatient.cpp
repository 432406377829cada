#include "KPLDomainObjects/KPLPatient.h"

void KPLPatient::Clear() {
  birthDate = KPLDateTimeValue();
  race = kUnspecified;
  sex = 0;
  KPLDomainObject::Clear();
}

std::string_view KPLPatient::SexDisplayName(std::int32_t sex) {
  switch (sex) {
    case kMale: return "Male";
    case kFemale: return "Female";
    default: return {};
  }
}

std::string_view KPLPatient::RaceDisplayName(std::int32_t race) {
  static constexpr std::string_view kNames[] = {"Caucasian", "Black",    "Hispanic", "Asian",
                                                "<Unspecified>", "NE Asian", "SE Asian"};
  if (race < kCaucasian || race > kSEAsian) return {};
  return kNames[race - kCaucasian];
}
