// Locale and clock: the user's date and time pictures, the "%x %X" time
// stamp, and the current local time.
//
// CLibraryLocale answers from the C library's current LC_TIME locale (hosts call
// setlocale); FixedLocale gives tests a fixed clock and chosen pictures.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kpl::platform {

// A broken-down local date and time; month 1 to 12.
struct CivilTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

class Locale {
 public:
  virtual ~Locale() = default;
  virtual CivilTime Now() const = 0;
  // The short-date picture, letters d, M, y as in "M/d/yyyy".
  virtual std::string ShortDatePicture() const = 0;
  // The time picture, letters h, H, m, s, t as in "h:mm:ss tt".
  virtual std::string TimePicture() const = 0;
  // The locale's date representation, a blank, its time representation ("%x %X").
  virtual std::string FormatTimeStamp(const CivilTime& t) const = 0;
  // Reads back what FormatTimeStamp writes; nothing when the text does not fit.
  virtual std::optional<CivilTime> ParseTimeStamp(std::string_view text) const = 0;

  static std::shared_ptr<Locale> MakeDefault();
};

class CLibraryLocale : public Locale {
 public:
  CivilTime Now() const override;
  std::string ShortDatePicture() const override;
  std::string TimePicture() const override;
  std::string FormatTimeStamp(const CivilTime& t) const override;
  std::optional<CivilTime> ParseTimeStamp(std::string_view text) const override;
};

// The C library's formatting with a fixed clock and chosen pictures.
class FixedLocale final : public CLibraryLocale {
 public:
  FixedLocale(CivilTime now, std::string datePicture = "M/d/yyyy", std::string timePicture = "h:mm:ss tt")
      : now_(now), datePicture_(std::move(datePicture)), timePicture_(std::move(timePicture)) {}
  CivilTime Now() const override { return now_; }
  std::string ShortDatePicture() const override { return datePicture_; }
  std::string TimePicture() const override { return timePicture_; }
  void SetNow(CivilTime now) { now_ = now; }

 private:
  CivilTime now_;
  std::string datePicture_, timePicture_;
};

// Turns a strftime pattern ("%d.%m.%Y", "%I:%M:%S %p") into a picture
// ("dd.MM.yyyy", "hh:mm:ss tt").
[[nodiscard]] std::string PictureFromStrftime(std::string_view pattern);

// Formats a date with a picture of d, dd, M, MM, MMM, y, yy, yyyy and
// literal characters (text between apostrophes is copied as it stands).
[[nodiscard]] std::string FormatWithPicture(const CivilTime& t, std::string_view picture);

// The installed locale.
std::shared_ptr<const Locale> CurrentLocale();

}  // namespace kpl::platform
