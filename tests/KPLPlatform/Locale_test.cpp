#include "KPLPlatform/Locale.h"

#include <gtest/gtest.h>

namespace kpl::platform {
namespace {

TEST(Locale, PicturesFromStrftimePatterns) {
  struct Case {
    const char* pattern;
    const char* picture;
  } cases[] = {
      {"%m/%d/%y", "MM/dd/yy"},      // C and en_US short date
      {"%d.%m.%Y", "dd.MM.yyyy"},    // de_DE
      {"%Y-%m-%d", "yyyy-MM-dd"},
      {"%D", "MM/dd/yy"},
      {"%H:%M:%S", "HH:mm:ss"},      // C time
      {"%I:%M:%S %p", "hh:mm:ss tt"},
      {"%r", "hh:mm:ss tt"},
      {"%T", "HH:mm:ss"},
      {"%Ey", "yy"},                 // modifiers are skipped
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(PictureFromStrftime(c.pattern), c.picture) << c.pattern;
}

TEST(Locale, FormatsWithPictures) {
  const CivilTime t{2026, 3, 1, 10, 30, 5};
  struct Case {
    const char* picture;
    const char* text;
  } cases[] = {
      {"MM/dd/yyyy", "03/01/2026"}, {"d.M.yy", "1.3.26"}, {"dd.MM.yyyy", "01.03.2026"},
      {"yyyy-MM-dd", "2026-03-01"}, {"'Day' d", "Day 1"},  {"MMM d", "Mar 1"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatWithPicture(t, c.picture), c.text) << c.picture;
}

TEST(Locale, TimeStampRoundTrip) {
  FixedLocale locale({2026, 3, 1, 10, 30, 5});
  const std::string stamp = locale.FormatTimeStamp(locale.Now());
  EXPECT_EQ(stamp, "03/01/26 10:30:05");  // "%x %X" in the C locale
  EXPECT_EQ(locale.ParseTimeStamp(stamp), locale.Now());
  EXPECT_FALSE(locale.ParseTimeStamp("not a date"));
  EXPECT_FALSE(locale.ParseTimeStamp("03/01/26 10:30:05 trailing"));
}

}  // namespace
}  // namespace kpl::platform
