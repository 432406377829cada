#include "KPLClassLibrary/KplDateTimeValue.h"

#include <cmath>
#include <cstdio>

namespace {

// Day number of 1 January 1970.
constexpr long long kUnixEpochDay = 25569;
static_assert(KplDaysFromCivil(1899, 12, 30) == -kUnixEpochDay);

struct Ymd {
  long long y;
  unsigned m, d;
};

constexpr Ymd CivilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);                    // [0, 146096]
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
  const long long y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);  // [0, 365]
  const unsigned mp = (5 * doy + 2) / 153;                       // [0, 11]
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;               // [1, 31]
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;                  // [1, 12]
  return {y + (m <= 2), m, d};
}

}  // namespace

KPLDateTimeValue KPLDateTimeValue::FromParts(int year, int month, int day, int hour, int minute, int second) {
  KPLDateTimeValue v;
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > KplDaysInMonth(year, month) ||
      hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    v.status_ = Status::kInvalid;
    return v;
  }
  const long long days = KplDaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                         kUnixEpochDay;
  v.days_ = static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
  v.status_ = Status::kValid;
  return v;
}

KPLDateTimeValue KPLDateTimeValue::FromCivil(const kpl::platform::CivilTime& t) {
  return FromParts(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

KPLDateTimeValue KPLDateTimeValue::Now() { return FromCivil(kpl::platform::CurrentLocale()->Now()); }

KPLDateTimeValue KPLDateTimeValue::ParseIso(std::string_view text) {
  // Digits by position: "YYYY-MM-DD", then "THH:MM", then ":SS".
  static constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:dd";
  KPLDateTimeValue invalid;
  invalid.status_ = Status::kInvalid;
  if (text.size() != 10 && text.size() != 16 && text.size() != 19) return invalid;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char want = kShape[i];
    if (want == 'd' ? (c < '0' || c > '9') : want == 'T' ? (c != 'T' && c != ' ') : c != want) return invalid;
  }
  auto number = [&](std::size_t at, std::size_t n) {
    int v = 0;
    for (std::size_t i = at; i < at + n; ++i) v = v * 10 + (text[i] - '0');
    return v;
  };
  const int h = text.size() > 10 ? number(11, 2) : 0;
  const int mi = text.size() > 10 ? number(14, 2) : 0;
  const int s = text.size() > 16 ? number(17, 2) : 0;
  return FromParts(number(0, 4), number(5, 2), number(8, 2), h, mi, s);
}

std::optional<kpl::platform::CivilTime> KPLDateTimeValue::Civil() const {
  if (!ok() || !std::isfinite(days_)) return std::nullopt;
  // Round to the second first so 23:59:59.9999 becomes the next day.
  const double totalSeconds = std::round(days_ * 86400.0);
  const double wholeDays = std::floor(totalSeconds / 86400.0);
  const long long secondsOfDay = static_cast<long long>(totalSeconds - wholeDays * 86400.0);
  const Ymd ymd = CivilFromDays(static_cast<long long>(wholeDays) - kUnixEpochDay);
  return kpl::platform::CivilTime{static_cast<int>(ymd.y), static_cast<int>(ymd.m), static_cast<int>(ymd.d),
                                  static_cast<int>(secondsOfDay / 3600), static_cast<int>(secondsOfDay / 60 % 60),
                                  static_cast<int>(secondsOfDay % 60)};
}

int KPLDateTimeValue::Year() const { return Civil() ? Civil()->year : 0; }
int KPLDateTimeValue::Month() const { return Civil() ? Civil()->month : 0; }
int KPLDateTimeValue::Day() const { return Civil() ? Civil()->day : 0; }
int KPLDateTimeValue::Hour() const { return Civil() ? Civil()->hour : 0; }
int KPLDateTimeValue::Minute() const { return Civil() ? Civil()->minute : 0; }
int KPLDateTimeValue::Second() const { return Civil() ? Civil()->second : 0; }

std::string KPLDateTimeValue::FormatIso() const {
  auto c = Civil();
  if (!c) return {};
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", c->year, c->month, c->day, c->hour, c->minute,
                c->second);
  return buffer;
}
