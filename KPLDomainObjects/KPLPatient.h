// KPLPatient: the patient's record as the calculators use it — birth date,
// sex and race — with the sex and race codes and their display names.
// Owned by the host.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "KPLClassLibrary/KplDateTimeValue.h"
#include "KPLDomainObjects/KPLDomainObject.h"

class KPLPatient : public KPLDomainObject {
 public:
  enum Sex : std::int32_t { kMale = 1, kFemale = 2 };
  enum Race : std::int32_t {
    kCaucasian = 1,
    kBlack = 2,
    kHispanic = 3,
    kAsian = 4,
    kUnspecified = 5,
    kNEAsian = 6,
    kSEAsian = 7,
  };
  // The races in the order the calculators list them.
  static constexpr std::array<Race, 7> kRaceListOrder = {kCaucasian, kBlack,   kHispanic,   kAsian,
                                                          kNEAsian,   kSEAsian, kUnspecified};

  KPLPatient() { KPLPatient::Clear(); }

  void Clear() override;

  // "Male", "Female"; empty for another code.
  [[nodiscard]] static std::string_view SexDisplayName(std::int32_t sex);
  // "Caucasian", …, "<Unspecified>"; empty for another code.
  [[nodiscard]] static std::string_view RaceDisplayName(std::int32_t race);
  // The equation and race-correction slot of a race: 0 for race 1, 1 for 2,
  // 2 for 3, 3 for 4, 6 and 7; −1 for 5 and unknown codes.
  [[nodiscard]] static constexpr int RaceGroup(std::int32_t race) {
    switch (race) {
      case kCaucasian: return 0;
      case kBlack: return 1;
      case kHispanic: return 2;
      case kAsian:
      case kNEAsian:
      case kSEAsian: return 3;
      default: return -1;
    }
  }

  KPLDateTimeValue birthDate;  // valid when known
  std::int32_t race = kUnspecified;
  std::int32_t sex = 0;  // 0 until given
};
