// A date-time value with a validity status: the one date representation of
// the library (visit dates, effort times, birth dates, settings dates).
//
// The value is a day number: whole days since 30 December 1899, the time of day
// as the fraction. A null value holds nothing; an invalid one came from bad
// parts or text.
#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

#include "KPLPlatform/Locale.h"

class KPLDateTimeValue {
 public:
  enum class Status { kValid, kInvalid, kNull };

  // A null value.
  constexpr KPLDateTimeValue() = default;
  // A valid value from a day number.
  explicit constexpr KPLDateTimeValue(double dayNumber) : days_(dayNumber), status_(Status::kValid) {}

  // From calendar parts; invalid when a part is out of range (year 100 to 9999).
  [[nodiscard]] static KPLDateTimeValue FromParts(int year, int month, int day, int hour = 0, int minute = 0,
                                                  int second = 0);
  [[nodiscard]] static KPLDateTimeValue FromCivil(const kpl::platform::CivilTime& t);
  // The installed locale's current local time.
  [[nodiscard]] static KPLDateTimeValue Now();
  // "YYYY-MM-DD", "YYYY-MM-DDTHH:MM" or "YYYY-MM-DDTHH:MM:SS" (a blank may stand
  // for the T); invalid for anything else.
  [[nodiscard]] static KPLDateTimeValue ParseIso(std::string_view text);

  [[nodiscard]] constexpr Status GetStatus() const { return status_; }
  [[nodiscard]] constexpr bool ok() const { return status_ == Status::kValid; }
  [[nodiscard]] constexpr double DayNumber() const { return days_; }
  void SetStatus(Status status) { status_ = status; }

  // Calendar parts, rounded to the nearest second; empty when not valid.
  [[nodiscard]] std::optional<kpl::platform::CivilTime> Civil() const;
  [[nodiscard]] int Year() const;
  [[nodiscard]] int Month() const;
  [[nodiscard]] int Day() const;
  [[nodiscard]] int Hour() const;
  [[nodiscard]] int Minute() const;
  [[nodiscard]] int Second() const;

  // "YYYY-MM-DDTHH:MM:SS"; empty when not valid.
  [[nodiscard]] std::string FormatIso() const;

  // Days between two valid values (this minus other).
  [[nodiscard]] double DaysSince(const KPLDateTimeValue& other) const { return days_ - other.days_; }

  friend constexpr bool operator==(const KPLDateTimeValue&, const KPLDateTimeValue&) = default;
  // Orders by day number; only meaningful between valid values.
  friend constexpr auto operator<=>(const KPLDateTimeValue& a, const KPLDateTimeValue& b) {
    return a.days_ <=> b.days_;
  }

 private:
  double days_ = 0;
  Status status_ = Status::kNull;
};

// Days from 1 January 1970 to the given civil date (proleptic Gregorian).
[[nodiscard]] constexpr long long KplDaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);                  // [0, 399]
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;  // [0, 365]
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;             // [0, 146096]
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

[[nodiscard]] constexpr bool KplIsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

[[nodiscard]] constexpr int KplDaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && KplIsLeapYear(year) ? 29 : kDays[month - 1];
}
