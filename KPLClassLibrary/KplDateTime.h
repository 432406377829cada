// KPLDateTime: a calendar date and time with the date and time patterns of
// the user's locale, for display and masked input fields.
#pragma once

#include <cstdint>
#include <string>

class KPLDateTime {
 public:
  KPLDateTime() = default;
  KPLDateTime(const KPLDateTime& other) { *this = other; }
  // Copies the date and time fields only; the patterns stay.
  KPLDateTime& operator=(const KPLDateTime& other);

  // Clears the date and builds the patterns from the installed locale.
  void Init();
  // All date and time fields 0.
  void Clear();
  [[nodiscard]] bool IsEmpty() const;
  // A non-empty, real calendar date from 1800 on with a valid time of day.
  [[nodiscard]] bool IsValid() const;
  // The date in the locale's format with dateFormat as the picture; empty when
  // the date is empty or its year is before 1001, month or day out of range.
  void FormatDate(std::string& out) const;
  [[nodiscard]] std::string FormatDate() const;

  std::int16_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  std::int16_t spare1 = 0, spare2 = 0;
  std::int32_t value = 0;
  std::string dateFormat, dateMask, datePlaceholder;  // "MM/dd/yyyy", "99/99/9999", "__/__/____"
  std::string timeFormat, timeMask, timePlaceholder;  // "hh:mm:ss", "##:##:##", "__:__:__"

  // Builds the three date patterns from a short-date picture.
  void BuildDatePatterns(const std::string& picture);
  // Builds the three time patterns from a time picture.
  void BuildTimePatterns(const std::string& picture);
};
