#include <gtest/gtest.h>

#include <filesystem>

#include "KPLClassLibrary/KplDateTime.h"
#include "KPLClassLibrary/KplDateTimeValue.h"
#include "KPLClassLibrary/KplFile.h"
#include "KPLClassLibrary/KplLine.h"
#include "KPLPlatform/Installed.h"
#include "support/ReportCapture.h"
#include "support/TempDir.h"

namespace {

using kpl::testing::ReportCapture;
using kpl::testing::TempDir;

KPLDateTime Date(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
  KPLDateTime t;
  t.year = static_cast<std::int16_t>(y), t.month = static_cast<std::int16_t>(m), t.day = static_cast<std::int16_t>(d);
  t.hour = static_cast<std::int16_t>(hh), t.minute = static_cast<std::int16_t>(mm), t.second = static_cast<std::int16_t>(ss);
  return t;
}

TEST(KPLDateTime, Validity) {
  struct Case {
    const char* label;
    KPLDateTime date;
    bool valid;
  } cases[] = {
      {"empty", Date(0, 0, 0), false},
      {"29 Feb 1900 (not leap)", Date(1900, 2, 29), false},
      {"29 Feb 2000 (leap)", Date(2000, 2, 29), true},
      {"30 Feb", Date(2024, 2, 30), false},
      {"31 Apr", Date(2024, 4, 31), false},
      {"31 Dec", Date(2024, 12, 31, 23, 59, 59), true},
      {"year 1799", Date(1799, 6, 1), false},
      {"year 1800", Date(1800, 1, 1), true},
      {"hour 24", Date(2024, 1, 1, 24), false},
      {"second 60", Date(2024, 1, 1, 0, 0, 60), false},
      {"month 13", Date(2024, 13, 1), false},
      {"day 0", Date(2024, 1, 0), false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.date.IsValid(), c.valid) << c.label;
}

TEST(KPLDateTime, PatternsFromLocalePictures) {
  struct Case {
    const char* datePicture;
    const char* format;
    const char* mask;
    const char* placeholder;
  } dates[] = {
      {"d.M.yy", "dd.MM.yyyy", "99.99.9999", "__.__.____"},
      {"M/d/yyyy", "MM/dd/yyyy", "99/99/9999", "__/__/____"},
      {"yyyy-MM-dd", "yyyy-MM-dd", "9999-99-99", "____-__-__"},
      {"dd/MM", "MM/dd/yyyy", "99/99/9999", "__/__/____"},  // no year: the fallback
      {"", "MM/dd/yyyy", "99/99/9999", "__/__/____"},
  };
  for (const auto& c : dates) {
    KPLDateTime t;
    t.BuildDatePatterns(c.datePicture);
    EXPECT_EQ(t.dateFormat, c.format) << c.datePicture;
    EXPECT_EQ(t.dateMask, c.mask) << c.datePicture;
    EXPECT_EQ(t.datePlaceholder, c.placeholder) << c.datePicture;
  }
  struct TimeCase {
    const char* picture;
    const char* format;
    const char* mask;
    const char* placeholder;
  } times[] = {
      {"h:mm:ss tt", "hh:mm:ss tt", "##:##:## ??", "__:__:__ __"},
      {"HH:mm", "HH:mm", "##:##", "__:__"},
      {"", "hh:mm:ss", "##:##:##", "__:__:__"},
  };
  for (const auto& c : times) {
    KPLDateTime t;
    t.BuildTimePatterns(c.picture);
    EXPECT_EQ(t.timeFormat, c.format) << c.picture;
    EXPECT_EQ(t.timeMask, c.mask) << c.picture;
    EXPECT_EQ(t.timePlaceholder, c.placeholder) << c.picture;
  }
}

TEST(KPLDateTime, InitFormatsWithTheLocalePicture) {
  kpl::platform::ScopedInstall<kpl::platform::Locale> locale(
      std::make_shared<kpl::platform::FixedLocale>(kpl::platform::CivilTime{2026, 1, 1}, "d.M.yy", "HH:mm:ss"));
  KPLDateTime t;
  t.Init();
  EXPECT_TRUE(t.IsEmpty());
  EXPECT_EQ(t.FormatDate(), "");
  t = Date(2026, 3, 9);
  EXPECT_EQ(t.FormatDate(), "09.03.2026");
  EXPECT_EQ(t.dateFormat, "dd.MM.yyyy") << "assignment copies the date only";
  t.year = 1000;
  EXPECT_EQ(t.FormatDate(), "");
}

TEST(KPLDateTimeValue, ParsesAndFormatsIsoTexts) {
  struct Case {
    const char* text;
    const char* iso;  // empty: invalid
  } cases[] = {
      {"2026-03-01T10:30:00", "2026-03-01T10:30:00"},
      {"2026-03-01 10:30", "2026-03-01T10:30:00"},
      {"1980-09-01", "1980-09-01T00:00:00"},
      {"2000-02-29", "2000-02-29T00:00:00"},
      {"1900-02-29", ""},
      {"2026-13-01", ""},
      {"2026-03-01T24:00:00", ""},
      {"+026-03-01", ""},
      {"2026-3-1", ""},
      {"2026-03-01X10:30:00", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    auto v = KPLDateTimeValue::ParseIso(c.text);
    EXPECT_EQ(v.ok(), *c.iso != '\0') << c.text;
    EXPECT_EQ(v.FormatIso(), c.iso) << c.text;
  }
  // Day numbers count from 30 December 1899.
  EXPECT_EQ(KPLDateTimeValue::FromParts(1899, 12, 30).DayNumber(), 0.0);
  EXPECT_EQ(KPLDateTimeValue::FromParts(1900, 1, 1, 12).DayNumber(), 2.5);
  EXPECT_EQ(KPLDateTimeValue::FromParts(2000, 1, 1).DayNumber(), 36526.0);
  EXPECT_EQ(KPLDateTimeValue(36526.9999999).FormatIso(), "2000-01-02T00:00:00") << "rounded to the second";
  EXPECT_EQ(KPLDateTimeValue().GetStatus(), KPLDateTimeValue::Status::kNull);
}

TEST(KPLFile, SplitsAndJoinsPaths) {
  KPLFile f;
  f.SetFilePath("/a/b.txt");
  EXPECT_EQ(f.GetFolder(), "/a/");
  EXPECT_EQ(f.GetName(), "b.txt");
  std::string full;
  EXPECT_TRUE(f.GetFullPath(full));
  EXPECT_EQ(full, "/a/b.txt");
  f.SetFolder("/a");
  EXPECT_TRUE(f.GetFullPath(full));
  EXPECT_EQ(full, "/a/b.txt");
  f.SetFilePath("plain.txt");
  EXPECT_EQ(f.GetFolder(), "");
  EXPECT_TRUE(f.GetFullPath(full));
  EXPECT_EQ(full, "plain.txt");
  f.SetFilePath("");
  EXPECT_FALSE(f.GetFullPath(full));
  EXPECT_EQ(full, "");
  f.SetName("dir/");
  EXPECT_FALSE(f.GetFullPath(full));
}

TEST(KPLFile, OpenTypes) {
  TempDir dir;
  ReportCapture capture;
  KPLFile f;
  f.SetFilePath(dir.File("new.txt"));
  EXPECT_FALSE(f.Open(0)) << "reading needs the file";
  EXPECT_TRUE(f.Open(4)) << "type 4 creates it";
  EXPECT_FALSE(f.Open(4)) << "already open";
  EXPECT_TRUE(f.WriteString("first\n"));
  EXPECT_TRUE(f.Close());
  EXPECT_FALSE(f.Close());
  EXPECT_TRUE(f.Open(5));  // no truncation
  f.SeekToEnd();
  f.WriteString("second\n");
  f.Close();
  EXPECT_EQ(TempDir::Read(dir.File("new.txt")), "first\nsecond\n");
  EXPECT_FALSE(f.Open(8));
  EXPECT_FALSE(f.Open(-1));
  EXPECT_EQ(capture.Messages(), (std::vector<std::string>{
                                    "File name: " + dir.File("new.txt.missing").substr(0, 0) + dir.File("new.txt") +
                                        " does not exist.",
                                    "Invalid open file type: 8.",
                                    "Invalid open file type: -1.",
                                }));
  EXPECT_EQ(capture.Reports()[0].moduleName, "KPLClassLibrary/KplFile");

  EXPECT_TRUE(f.Create());
  EXPECT_EQ(TempDir::Read(dir.File("new.txt")), "");
  EXPECT_TRUE(f.Delete());
  EXPECT_FALSE(std::filesystem::exists(dir.File("new.txt")));
}

TEST(KPLFile, ReadsLinesIntoItsTokenizer) {
  TempDir dir;
  const std::string longLine(300, 'x');
  dir.Write("in.txt", "M  \"a b\"  7\r\n" + longLine + "\nend");
  KPLFile f;
  f.SetFilePath(dir.File("in.txt"));
  ASSERT_TRUE(f.Open(0));
  std::string line, token;
  ASSERT_TRUE(f.ReadLine(line));
  EXPECT_EQ(line, "M  \"a b\"  7");
  f.GetLine().GetToken(token);
  EXPECT_EQ(token, "M");
  ASSERT_TRUE(f.ReadRawLine(line));
  EXPECT_EQ(line.size(), 259u) << "a raw line stops at 259 characters";
  ASSERT_TRUE(f.ReadRawLine(line));
  EXPECT_EQ(line, std::string(41, 'x') + "\n") << "the rest, with its end";
  ASSERT_TRUE(f.ReadLine(line));
  EXPECT_EQ(line, "end");
  EXPECT_FALSE(f.ReadLine(line));
}

TEST(KPLFile, RenameMovesTheFile) {
  TempDir dir;
  dir.Write("old.txt", "content");
  KPLFile f;
  f.SetFilePath(dir.File("old.txt"));
  EXPECT_TRUE(f.Rename("Old.txt")) << "names that differ only by case are different files here";
  EXPECT_EQ(TempDir::Read(dir.File("Old.txt")), "content");
  EXPECT_FALSE(std::filesystem::exists(dir.File("old.txt")));
  EXPECT_EQ(f.GetName(), "Old.txt");
}

TEST(KPLLine, Tokens) {
  struct Case {
    const char* label;
    std::string line;
    std::vector<std::string> tokens;
  } cases[] = {
      {"quoted with blanks", "M  \"a b\"  7", {"M", "a b", "7"}},
      {"apostrophes", "'x y' z", {"x y", "z"}},
      {"0xFE delimiter", "P \xFEkeep \"this\"\xFE 2", {"P", "keep \"this\"", "2"}},
      {"unterminated quote", "\"open to end", {"open to end"}},
      {"tabs are not blanks", "a\tb c", {"a\tb", "c"}},
      {"past the end", "one", {"one", "", ""}},
  };
  for (const auto& c : cases) {
    KPLLine line;
    line.SetLine(c.line);
    std::vector<std::string> got;
    for (std::size_t i = 0; i < c.tokens.size(); ++i) {
      std::string token;
      line.GetToken(token);
      got.push_back(token);
    }
    EXPECT_EQ(got, c.tokens) << c.label;
    EXPECT_EQ(line.TokenCount(), static_cast<std::int32_t>(c.tokens.size())) << c.label;
  }
}

TEST(KPLLine, TokenConversions) {
  struct Case {
    const char* token;
    double asDouble;
    std::int32_t asInt;
    std::int16_t asShort;
  } cases[] = {
      {"12.75", 12.75, 12, 12}, {"-3", -3.0, -3, -3},     {"70000", 70000.0, 70000, 4464},
      {"abc", 0.0, 0, 0},       {"", 0.0, 0, 0},          {"1e3x", 1000.0, 1, 1},
  };
  for (const auto& c : cases) {
    KPLLine line;
    line.SetLine(c.token);
    line.NextToken();
    double d = -1;
    std::int32_t i = -1;
    std::int16_t s = -1;
    line.TokenAsDouble(d);
    line.TokenAsInt(i);
    line.TokenAsShort(s);
    EXPECT_EQ(d, c.asDouble) << c.token;
    EXPECT_EQ(i, c.asInt) << c.token;
    EXPECT_EQ(s, c.asShort) << c.token;
  }
}

}  // namespace
