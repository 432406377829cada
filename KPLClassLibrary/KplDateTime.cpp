#include "KPLClassLibrary/KplDateTime.h"

#include "KPLClassLibrary/KplDateTimeValue.h"
#include "KPLPlatform/Locale.h"

KPLDateTime& KPLDateTime::operator=(const KPLDateTime& other) {
  year = other.year;
  month = other.month;
  day = other.day;
  hour = other.hour;
  minute = other.minute;
  second = other.second;
  return *this;
}

void KPLDateTime::Init() {
  value = 0;
  Clear();
  auto locale = kpl::platform::CurrentLocale();
  BuildDatePatterns(locale->ShortDatePicture());
  BuildTimePatterns(locale->TimePicture());
}

void KPLDateTime::Clear() {
  year = month = day = hour = minute = second = 0;
  spare1 = spare2 = 0;
}

bool KPLDateTime::IsEmpty() const {
  return year == 0 && month == 0 && day == 0 && hour == 0 && minute == 0 && second == 0;
}

bool KPLDateTime::IsValid() const {
  if (IsEmpty()) return false;
  if (year < 1800 || month < 1 || month > 12 || day < 1) return false;
  if (day > KplDaysInMonth(year, month)) return false;
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

void KPLDateTime::FormatDate(std::string& out) const {
  out.clear();
  if (IsEmpty() || year < 1001 || month < 1 || month > 12 || day < 1 || day > 31) return;
  out = kpl::platform::FormatWithPicture({year, month, day, hour, minute, second}, dateFormat);
  if (out.size() > 259) out.resize(259);  // the formatter's buffer
}

std::string KPLDateTime::FormatDate() const {
  std::string out;
  FormatDate(out);
  return out;
}

void KPLDateTime::BuildDatePatterns(const std::string& picture) {
  dateFormat.clear();
  dateMask.clear();
  datePlaceholder.clear();
  bool haveDay = false, haveMonth = false, haveYear = false;
  for (char c : picture) {
    if (c == 'd' || c == 'D') {
      if (!haveDay) {
        dateFormat += "dd", dateMask += "99", datePlaceholder += "__";
        haveDay = true;
      }
    } else if (c == 'M' || c == 'm') {
      if (!haveMonth) {
        dateFormat += "MM", dateMask += "99", datePlaceholder += "__";
        haveMonth = true;
      }
    } else if (c == 'Y' || c == 'y') {
      if (!haveYear) {
        dateFormat += "yyyy", dateMask += "9999", datePlaceholder += "____";
        haveYear = true;
      }
    } else {
      dateFormat += c, dateMask += c, datePlaceholder += c;
    }
  }
  if (!haveDay || !haveMonth || !haveYear) {
    dateFormat = "MM/dd/yyyy";
    dateMask = "99/99/9999";
    datePlaceholder = "__/__/____";
  }
}

void KPLDateTime::BuildTimePatterns(const std::string& picture) {
  timeFormat.clear();
  timeMask.clear();
  timePlaceholder.clear();
  bool haveHour = false, haveMinute = false, haveSecond = false;
  for (char c : picture) {
    if (c == 'H' || c == 'h') {
      if (!haveHour) {
        timeFormat += c == 'H' ? "HH" : "hh", timeMask += "##", timePlaceholder += "__";
        haveHour = true;
      }
    } else if (c == 'M' || c == 'm') {
      if (!haveMinute) {
        timeFormat += "mm", timeMask += "##", timePlaceholder += "__";
        haveMinute = true;
      }
    } else if (c == 'S' || c == 's') {
      if (!haveSecond) {
        timeFormat += "ss", timeMask += "##", timePlaceholder += "__";
        haveSecond = true;
      }
    } else if (c == 'T' || c == 't') {
      timeFormat += c, timeMask += "?", timePlaceholder += "_";
    } else {
      timeFormat += c, timeMask += c, timePlaceholder += c;
    }
  }
  if (timeFormat.empty()) {
    timeFormat = "hh:mm:ss";
    timeMask = "##:##:##";
    timePlaceholder = "__:__:__";
  }
}
