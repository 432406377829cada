#include "KPLDomainObjects/KPLSplineTable.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "KPLPlatform/FileSystem.h"
#include "KPLPlatform/Prompt.h"

namespace {

// The variable part of each entry's tokens, in entry order.
constexpr const char* kTokenNames[KPLSplineTable::kEntryCount] = {"FEV1", "FVC", "FFEV1FVC", "FEF2575", "FEF75"};

// The columns of a data line (the age is column 1): three columns, L, M and S,
// per variable and sex, starting at `firstColumn`.
struct ColumnGroup {
  int firstColumn;
  KPLSplineTable::EntryIndex entry;
  std::int32_t sex;  // 1 male, 2 female
};
constexpr ColumnGroup kColumnGroups[] = {
    {2, KPLSplineTable::kFEV1, 1},     {5, KPLSplineTable::kFEV1, 2},     {8, KPLSplineTable::kFVC, 1},
    {11, KPLSplineTable::kFVC, 2},     {14, KPLSplineTable::kFEV1FVC, 1}, {17, KPLSplineTable::kFEV1FVC, 2},
    {20, KPLSplineTable::kFEF2575, 1}, {23, KPLSplineTable::kFEF2575, 2}, {26, KPLSplineTable::kFEF75, 1},
    {29, KPLSplineTable::kFEF75, 2},
};

// Reads a text as the C library's text-to-double conversion does (leading
// blanks, the longest number prefix, 0 when there is none), but with a "."
// decimal point whatever the locale, and without "inf", "nan" or hexadecimal.
double ParseLeadingDouble(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negate = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negate = text[i++] == '-';
  if (i == text.size() || !(std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.')) return 0.0;
  double value = 0.0;
  const auto [end, status] = std::from_chars(text.data() + i, text.data() + text.size(), value);
  if (status != std::errc() || !std::isfinite(value)) return 0.0;
  return negate ? -value : value;
}

// Column `column` (1-based) of a tab-separated line; "" past its last column.
std::string_view Column(const std::vector<std::string_view>& columns, int column) {
  const auto index = static_cast<std::size_t>(column - 1);
  return index < columns.size() ? columns[index] : std::string_view();
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> columns;
  for (;;) {
    const auto tab = line.find('\t');
    columns.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return columns;
    line.remove_prefix(tab + 1);
  }
}

// The next line without its line end; false at the end of the file.
bool ReadLine(std::FILE* file, std::string& line) {
  line.clear();
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
    line += buffer;
    if (!line.empty() && line.back() == '\n') break;
  }
  if (line.empty()) return false;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return true;
}

// Opens the table for reading. The configuration folder is spelt "Cfg" or
// "CFG": when the path's folder is either and the file is missing there, the
// other spelling is tried. errno is that of the first attempt.
std::FILE* OpenTable(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file != nullptr) return file;
  const int firstError = errno;
  const auto last = path.rfind(kpl::platform::kPathSeparator);
  if (last != std::string::npos && last >= 3) {
    const auto start = last - 3;
    const bool atFolderStart = start == 0 || path[start - 1] == kpl::platform::kPathSeparator;
    std::string folder = path.substr(start, 3);
    for (char& c : folder) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (atFolderStart && folder == "CFG") {
      for (const char* spelling : {"Cfg", "CFG"}) {
        std::string other = path;
        other.replace(start, 3, spelling);
        if (other == path) continue;
        file = std::fopen(other.c_str(), "r");
        if (file != nullptr) return file;
      }
    }
  }
  errno = firstError;
  return nullptr;
}

void ReplaceAll(std::string& text, const std::string& token, const std::string& value) {
  if (token.empty()) return;
  for (auto at = text.find(token); at != std::string::npos; at = text.find(token, at + value.size())) {
    text.replace(at, token.size(), value);
  }
}

}  // namespace

KPLSplineTable::KPLSplineTable(std::string path, double age, std::int32_t sex, std::int32_t race, double height,
                               double weight)
    : path_(std::move(path)), age_(age), sex_(sex), race_(race), height_(height), weight_(weight) {
  SetTableKind(kGli2012);
  loaded_ = 0;
}

void KPLSplineTable::SetTableKind(std::int32_t kind) {
  tableKind_ = kind;
  const bool gli = kind == kGli2012;
  tokenPrefix_ = gli ? "GLI_" : "STAN_";
  minimumAge_ = 3.0;
  maximumAge_ = gli ? 95.0 : 80.0;
  columnLimit_ = gli ? 32 : 26;
  for (int i = 0; i < kEntryCount; ++i) {
    Entry& entry = entries_[static_cast<std::size_t>(i)];
    // Stanojevic has no FEF75 table.
    entry.enabled = (gli || i != kFEF75) ? 1 : 0;
    entry.firstValue.clear();
    entry.mValue.clear();
    entry.sValue.clear();
    entry.spareText.clear();
    if (entry.enabled != 0) {
      entry.mToken = tokenPrefix_ + "M_SPLINE_" + kTokenNames[i];
      entry.sToken = tokenPrefix_ + "S_SPLINE_" + kTokenNames[i];
      entry.lToken = tokenPrefix_ + "L_SPLINE_" + kTokenNames[i];
    } else {
      entry.mToken.clear();
      entry.sToken.clear();
      entry.lToken.clear();
    }
  }
}

std::int32_t KPLSplineTable::ReadTable() {
  // Tells the user why the file cannot be read; the table stays unread.
  auto fail = [this](int error) {
    std::string message = path_ + ": " + std::strerror(error);
    if (message.size() > 1024) message.resize(1024);
    kpl::platform::Ask({message, kpl::platform::PromptButtons::kOk, kpl::platform::PromptIcon::kNone,
                        kpl::platform::PromptAnswer::kOk});
    return 0;
  };
  std::FILE* file = OpenTable(path_);
  if (file == nullptr) return fail(errno);

  std::string line;
  std::string lowerLine;
  double lowerAge = 0;
  bool haveLower = false;
  bool haveUpper = false;
  for (int lineNumber = 1; ReadLine(file, line); ++lineNumber) {
    if (lineNumber <= 3) continue;  // headers
    const double rowAge = ParseLeadingDouble(line);
    if (rowAge >= age_ || (age_ > maximumAge_ && rowAge == maximumAge_)) {
      haveUpper = true;
      break;
    }
    lowerLine.swap(line);
    lowerAge = rowAge;
    haveLower = true;
  }
  // A folder opens here but cannot be read: it fails as it would to open.
  const int readError = std::ferror(file) != 0 ? errno : 0;
  std::fclose(file);
  if (readError != 0) return fail(readError);

  // Without an upper row the values stay as they are.
  if (haveUpper) {
    const std::vector<std::string_view> upper = SplitTabs(line);
    const std::vector<std::string_view> lower = haveLower ? SplitTabs(lowerLine) : upper;
    const double upperAge = ParseLeadingDouble(Column(upper, 1));
    const double fromAge = haveLower ? lowerAge : upperAge;
    // Columns of the other sex would be interpolated and dropped: skip them.
    for (const ColumnGroup& group : kColumnGroups) {
      if (group.sex != sex_ || group.firstColumn + 2 > columnLimit_ - 1) continue;
      Entry& entry = entries_[group.entry];
      std::string* targets[3] = {&entry.firstValue, &entry.mValue, &entry.sValue};
      for (int j = 0; j < 3; ++j) {
        const int column = group.firstColumn + j;
        *targets[j] = Interpolate(age_, fromAge, upperAge, ParseLeadingDouble(Column(lower, column)),
                                  ParseLeadingDouble(Column(upper, column)));
      }
    }
  }
  loaded_ = 1;
  return 1;
}

void KPLSplineTable::SubstituteSplines(std::string& equation, std::int32_t /*variableNumber*/) {
  const auto first = equation.find(tokenPrefix_);
  if (first == std::string::npos || first == 0) return;
  if (loaded_ == 0 && ReadTable() == 0) return;
  if (age_ < minimumAge_ || age_ > maximumAge_) {
    equation.clear();
    return;
  }
  for (const Entry& entry : entries_) {
    if (entry.enabled == 0) continue;
    ReplaceAll(equation, entry.mToken, entry.mValue);
    ReplaceAll(equation, entry.sToken, entry.sValue);
    ReplaceAll(equation, entry.lToken, entry.firstValue);
  }
  ReplaceAll(equation, "AFRICAN_AMERICAN", race_ == 2 ? "1" : "0");
  ReplaceAll(equation, "NEASIA", race_ == 6 ? "1" : "0");
  ReplaceAll(equation, "SEASIA", race_ == 7 ? "1" : "0");
  const bool namedRace = race_ == 1 || race_ == 2 || race_ == 3 || race_ == 6 || race_ == 7;
  ReplaceAll(equation, "OTHER", namedRace ? "0" : "1");
}

std::string KPLSplineTable::Interpolate(double age, double lowerAge, double upperAge, double lowerValue,
                                        double upperValue) {
  double result = lowerValue;
  if (std::fabs(upperAge - lowerAge) < 0.0001) {
    result = lowerValue;
  } else if (lowerAge < upperAge) {
    if (age <= lowerAge) {
      result = lowerValue;
    } else if (age >= upperAge) {
      result = upperValue;
    } else {
      result = lowerValue + (age - lowerAge) / (upperAge - lowerAge) * (upperValue - lowerValue);
    }
  } else {
    // Rows out of order: the same line through the two points.
    if (age <= upperAge) {
      result = upperValue;
    } else if (age >= lowerAge) {
      result = lowerValue;
    } else {
      result = upperValue + (age - upperAge) / (lowerAge - upperAge) * (lowerValue - upperValue);
    }
  }
  // "%f", with a "." whatever the locale.
  char buffer[400];
  const auto [end, status] = std::to_chars(buffer, buffer + sizeof buffer, result, std::chars_format::fixed, 6);
  return status == std::errc() ? std::string(buffer, end) : std::string("0.000000");
}
