// The content of the persistence store as plain values: predicted sets with
// their authors, and variable catalogues, exactly as the JSON files carry them
// (docs/predicted-set-format.md).
//
// Files are read into these values and checked before anything is stored;
// the database holds them table by table; loads turn them into the domain
// records. Equation texts are kept in the records' declared order.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace kplstore {

// Three inclusive [lower, upper] year ranges; [-1, -1] marks an unused one.
using AgeRanges = std::array<std::array<std::int32_t, 2>, 3>;
inline constexpr AgeRanges kUnusedAgeRanges = {{{-1, -1}, {-1, -1}, {-1, -1}}};

struct PfAuthorChoice {
  std::int32_t variableNumber = 0;
  std::array<std::string, 6> authorNames;  // (male, 0..2), (female, 0..2)
  std::array<std::string, 6> authorGuids;
  std::string source;
  friend bool operator==(const PfAuthorChoice&, const PfAuthorChoice&) = default;
};

struct RaceCorrection {
  std::int32_t variableNumber = 0;
  std::array<double, 4> factors = {1.0, 1.0, 1.0, 1.0};
  std::string source;
  friend bool operator==(const RaceCorrection&, const RaceCorrection&) = default;
};

struct PfEquationRecord {
  std::int32_t variableNumber = 0;
  std::int32_t kind = 0;  // 0 predicted value, 1 standard deviation
  std::string guid;
  std::array<std::string, 24> equations;  // index 6*raceGroup + 3*(sex-1) + ageGroup
  std::string source;
  friend bool operator==(const PfEquationRecord&, const PfEquationRecord&) = default;
};

struct PfAuthor {
  std::string name;
  std::string guid;
  bool singleEquation = true;
  bool siUnits = true;
  bool flag3 = false;
  std::string source;
  std::vector<PfEquationRecord> equations;
  friend bool operator==(const PfAuthor&, const PfAuthor&) = default;
};

struct PfSet {
  std::string name;
  std::string guid;
  bool flag = false;
  std::string source;
  std::string ageGroupsGuid;
  bool vcUsesFvcEquation = true;
  AgeRanges ageRanges = kUnusedAgeRanges;
  std::vector<PfAuthorChoice> authorChoices;
  std::vector<RaceCorrection> raceCorrections;
  friend bool operator==(const PfSet&, const PfSet&) = default;
};

struct GxAuthorChoice {
  std::int32_t variableNumber = 0;
  std::array<std::string, 8> authorNames;  // (male, 0..3), (female, 0..3)
  std::array<std::string, 8> authorGuids;
  std::string source;
  friend bool operator==(const GxAuthorChoice&, const GxAuthorChoice&) = default;
};

struct GxEquationRecord {
  std::int32_t variableNumber = 0;
  std::string guid;
  // Declared order: (male, 0), (male, 2), (male, 1), (male, 3), then female alike.
  std::array<std::string, 8> equations;
  std::string source;
  friend bool operator==(const GxEquationRecord&, const GxEquationRecord&) = default;
};

struct GxAuthor {
  std::string name;
  std::string guid;
  bool flag = false;
  std::string source;
  std::vector<GxEquationRecord> equations;
  friend bool operator==(const GxAuthor&, const GxAuthor&) = default;
};

struct GxOptions {
  std::string guid;
  // vco2, trueGas, perKilogram, mets, oxygenPulse, veVo2, veVco2, obesityRuleOff
  std::array<bool, 8> flags = {true, true, true, true, true, true, true, true};
  AgeRanges ageRanges = kUnusedAgeRanges;
  std::int32_t mvvMethod = 0;
  // vco2Factor, maleBmiLimit, femaleBmiLimit, gasFactor, fev1Factor
  std::array<double, 5> factors = {0, 0, 0, 0, 0};
  friend bool operator==(const GxOptions&, const GxOptions&) = default;
};

struct GxSet {
  std::string name;
  std::string guid;
  bool flag = false;
  std::string source;
  GxOptions options;
  std::vector<GxAuthorChoice> authorChoices;
  friend bool operator==(const GxSet&, const GxSet&) = default;
};

struct PfSetFile {
  PfSet set;
  std::vector<PfAuthor> authors;
  friend bool operator==(const PfSetFile&, const PfSetFile&) = default;
};

struct GxSetFile {
  GxSet set;
  std::vector<GxAuthor> authors;
  friend bool operator==(const GxSetFile&, const GxSetFile&) = default;
};

struct CatalogueVariable {
  std::int32_t variableNumber = -1;
  std::string name;
  std::int32_t testType = 0;
  std::int32_t decimals = 0;
  std::string unit;              // text 2
  std::string conventionalUnit;  // text 4
  std::string source;
  std::string text5, text6;
  double value1 = 0;
  bool flag1 = false;
  std::array<double, 9> values{};
  std::array<bool, 3> flags{};
  friend bool operator==(const CatalogueVariable&, const CatalogueVariable&) = default;
};

struct VariableCatalogue {
  std::int32_t variableSet = 0;  // 254 PF, 253 GX
  std::vector<CatalogueVariable> variables;
  friend bool operator==(const VariableCatalogue&, const VariableCatalogue&) = default;
};

using ContentFile = std::variant<PfSetFile, GxSetFile, VariableCatalogue>;

// One problem of a file, at a JSON path ("authors[0].equations[3].guid").
struct Problem {
  std::string where;
  std::string what;
  friend bool operator==(const Problem&, const Problem&) = default;
};

// Answers "" when an equation text, its names already replaced by numbers,
// parses; otherwise why not. Without a checker only names are checked.
using FormulaChecker = std::function<std::string(std::string_view formula)>;

// Reads and checks one content file. Nothing is returned when there is any
// problem; `problems` then lists every one found.
[[nodiscard]] std::optional<ContentFile> ReadContent(const nlohmann::json& document, const FormulaChecker& checker,
                                                     std::vector<Problem>& problems);
// Parses the text first; a syntax error is one problem at "".
[[nodiscard]] std::optional<ContentFile> ReadContentText(std::string_view text, const FormulaChecker& checker,
                                                         std::vector<Problem>& problems);

// Writes a file with every field, in the format's field order.
[[nodiscard]] nlohmann::ordered_json WriteContent(const ContentFile& content);

// Checks one equation text of a PF (`gx` false) or GX author: its names are
// replaced by 1 and the checker is asked. "" when it is fine.
[[nodiscard]] std::string CheckEquation(std::string_view text, bool gx, const FormulaChecker& checker);

// Maps a GX file's age-group index to the record's declared text index.
[[nodiscard]] constexpr int GxDeclaredIndex(int sex, int ageGroup) {
  constexpr int kOrder[4] = {0, 2, 1, 3};
  return 4 * (sex - 1) + kOrder[ageGroup];
}

}  // namespace kplstore
