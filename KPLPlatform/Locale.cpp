#include "KPLPlatform/Locale.h"

#include <langinfo.h>

#include <cstdio>
#include <ctime>

#include "KPLPlatform/Installed.h"

namespace kpl::platform {
namespace {

std::tm ToTm(const CivilTime& t) {
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  tm.tm_isdst = -1;
  return tm;
}

}  // namespace

std::shared_ptr<Locale> Locale::MakeDefault() { return std::make_shared<CLibraryLocale>(); }

CivilTime CLibraryLocale::Now() const {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string CLibraryLocale::ShortDatePicture() const { return PictureFromStrftime(nl_langinfo(D_FMT)); }
std::string CLibraryLocale::TimePicture() const { return PictureFromStrftime(nl_langinfo(T_FMT)); }

std::string CLibraryLocale::FormatTimeStamp(const CivilTime& t) const {
  std::tm tm = ToTm(t);
  char buffer[128];
  std::size_t n = std::strftime(buffer, sizeof buffer, "%x %X", &tm);
  return std::string(buffer, n);
}

std::optional<CivilTime> CLibraryLocale::ParseTimeStamp(std::string_view text) const {
  std::string copy(text);
  std::tm tm{};
  const char* end = strptime(copy.c_str(), "%x %X", &tm);
  if (end == nullptr || *end != '\0') return std::nullopt;
  return CivilTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string PictureFromStrftime(std::string_view pattern) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (c != '%' || i + 1 == pattern.size()) {
      out += c;
      continue;
    }
    char f = pattern[++i];
    if (f == 'E' || f == 'O' || f == '-' || f == '_' || f == '0') {  // modifiers and padding flags
      if (i + 1 == pattern.size()) break;
      f = pattern[++i];
    }
    switch (f) {
      case 'd': case 'e': out += "dd"; break;
      case 'm': out += "MM"; break;
      case 'b': case 'h': out += "MMM"; break;
      case 'y': out += "yy"; break;
      case 'Y': out += "yyyy"; break;
      case 'D': out += "MM/dd/yy"; break;
      case 'F': out += "yyyy-MM-dd"; break;
      case 'H': case 'k': out += "HH"; break;
      case 'I': case 'l': out += "hh"; break;
      case 'M': out += "mm"; break;
      case 'S': out += "ss"; break;
      case 'p': case 'P': out += "tt"; break;
      case 'T': out += "HH:mm:ss"; break;
      case 'R': out += "HH:mm"; break;
      case 'r': out += "hh:mm:ss tt"; break;
      case '%': out += '%'; break;
      default: break;  // weekday names and the like have no picture letter
    }
  }
  return out;
}

std::string FormatWithPicture(const CivilTime& t, std::string_view picture) {
  std::string out;
  char buffer[16];
  for (std::size_t i = 0; i < picture.size();) {
    char c = picture[i];
    if (c == '\'') {
      std::size_t close = picture.find('\'', i + 1);
      if (close == std::string_view::npos) close = picture.size();
      out.append(picture.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    std::size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    if (c == 'd') {
      std::snprintf(buffer, sizeof buffer, run >= 2 ? "%02d" : "%d", t.day);
      out += buffer;
    } else if (c == 'M') {
      if (run >= 3) {
        std::tm tm = ToTm(t);
        char name[64];
        std::size_t n = std::strftime(name, sizeof name, run >= 4 ? "%B" : "%b", &tm);
        out.append(name, n);
      } else {
        std::snprintf(buffer, sizeof buffer, run == 2 ? "%02d" : "%d", t.month);
        out += buffer;
      }
    } else if (c == 'y') {
      if (run <= 2) {
        std::snprintf(buffer, sizeof buffer, run == 2 ? "%02d" : "%d", ((t.year % 100) + 100) % 100);
      } else {
        std::snprintf(buffer, sizeof buffer, "%04d", t.year);
      }
      out += buffer;
    } else {
      out.append(run, c);
    }
    i += run;
  }
  return out;
}

std::shared_ptr<const Locale> CurrentLocale() { return Installed<Locale>::Get(); }

}  // namespace kpl::platform
