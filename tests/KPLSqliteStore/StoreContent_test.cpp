// Reading and checking content files: every problem is found, with its place.
#include "KPLSqliteStore/StoreContent.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "KPLPredicted/KplFormula.h"

namespace {

using nlohmann::json;
using kplstore::Problem;

kplstore::FormulaChecker Checker() {
  return [](std::string_view formula) -> std::string {
    auto r = EvaluateFormula(formula);
    if (r.ok() || r.error == KplFormulaError::kDivisionByZero || r.error == KplFormulaError::kDomain) return {};
    return DescribeFormulaError(r, formula);
  };
}

constexpr const char* kAuthor = "{11111111-2222-3333-4444-555555555555}";

// A small valid PF file: one author with a predicted and an SD record for FVC.
json ValidPf() {
  json texts = {{"male", {"0.0443*HEIGHTCM-0.026*AGE-2.89", "", ""}}, {"female", {"=0.0395*HEIGHTCM-0.025*AGE-2.6", "", ""}}};
  json empty = {{"male", {"", "", ""}}, {"female", {"", "", ""}}};
  json groups = {{"raceGroup0", texts}, {"raceGroup1", empty}, {"raceGroup2", empty}, {"raceGroup3", empty}};
  return {{"format", "kplpredicted-predset"},
          {"version", 1},
          {"kind", "pf"},
          {"predSet",
           {{"name", "Test"},
            {"guid", "{AAAAAAAA-0000-0000-0000-000000000001}"},
            {"ageGroups",
             {{"guid", "{AAAAAAAA-0000-0000-0000-000000000002}"},
              {"vcUsesFvcEquation", true},
              {"ageRanges", {{18, 120}, {-1, -1}, {-1, -1}}}}},
            {"authorChoices",
             {{{"variableNumber", 2},
               {"authorNames", {{"male", {"A", "", ""}}, {"female", {"A", "", ""}}}},
               {"authorGuids", {{"male", {kAuthor, "", ""}}, {"female", {kAuthor, "", ""}}}}}}},
            {"raceCorrections", {{{"variableNumber", 2}, {"factors", {1.0, 0.88, 1.0, 0.94}}}}}}},
          {"authors",
           {{{"name", "A"},
             {"guid", kAuthor},
             {"equations",
              {{{"variableNumber", 2}, {"kind", 0}, {"guid", "{AAAAAAAA-0000-0000-0000-000000000003}"}, {"equations", groups}},
               {{"variableNumber", 2}, {"kind", 1}, {"guid", "{AAAAAAAA-0000-0000-0000-000000000004}"},
                {"equations", {{"raceGroup0", {{"male", {"0.61", "", ""}}, {"female", {"0.52", "", ""}}}},
                               {"raceGroup1", empty}, {"raceGroup2", empty}, {"raceGroup3", empty}}}}}}}}}};
}

TEST(StoreContent, ReadsAValidFileIntoRecordOrder) {
  std::vector<Problem> problems;
  auto content = kplstore::ReadContent(ValidPf(), Checker(), problems);
  ASSERT_TRUE(content) << (problems.empty() ? "" : problems[0].where + ": " + problems[0].what);
  const auto& file = std::get<kplstore::PfSetFile>(*content);
  EXPECT_EQ(file.set.ageRanges[0], (std::array<std::int32_t, 2>{18, 120}));
  EXPECT_EQ(file.set.authorChoices[0].authorGuids[3], kAuthor) << "female age group 0 is combination 3";
  EXPECT_EQ(file.set.raceCorrections[0].factors[1], 0.88);
  const auto& author = file.authors[0];
  EXPECT_TRUE(author.singleEquation) << "defaults apply to optional fields";
  EXPECT_EQ(author.equations[0].equations[3], "=0.0395*HEIGHTCM-0.025*AGE-2.6") << "text 6g + 3(s-1) + a";
  EXPECT_EQ(author.equations[1].kind, 1);
}

TEST(StoreContent, ReportsEveryProblemWithItsPlace) {
  struct Case {
    const char* label;
    std::function<void(json&)> spoil;
    Problem expected;
  } cases[] = {
      {"unknown field", [](json& j) { j["predSet"]["colour"] = "red"; }, {"predSet.colour", "unknown field"}},
      {"missing field", [](json& j) { j["predSet"].erase("guid"); }, {"predSet.guid", "is missing"}},
      {"lower-case GUID", [](json& j) { j["authors"][0]["equations"][0]["guid"] = "{aaaaaaaa-0000-0000-0000-000000000003}"; },
       {"authors[0].equations[0].guid",
        "\"{aaaaaaaa-0000-0000-0000-000000000003}\" is not a GUID of the form {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} in upper case"}},
      {"empty author name", [](json& j) { j["authors"][0]["name"] = ""; }, {"authors[0].name", "empty author name (error code 1)"}},
      {"duplicate record", [](json& j) { j["authors"][0]["equations"][1]["kind"] = 0; },
       {"authors[0].equations[1]", "duplicate equation record for variable 2 kind 0 (error code 3; first at [0])"}},
      {"choice names no author", [](json& j) { j["predSet"]["authorChoices"][0]["authorGuids"]["female"][0] = "{11111111-2222-3333-4444-555555555556}"; },
       {"predSet.authorChoices[0].authorGuids.female[0]", "Can't find Pred Author GUID: {11111111-2222-3333-4444-555555555556}."}},
      {"name without GUID", [](json& j) { j["predSet"]["authorChoices"][0]["authorNames"]["male"][1] = "A"; },
       {"predSet.authorChoices[0].authorGuids.male[1]", "an author name needs its GUID and a GUID its name"}},
      {"unparsable equation", [](json& j) { j["authors"][0]["equations"][0]["equations"]["raceGroup0"]["male"][0] = "(0.04*HEIGHTCM"; },
       {"authors[0].equations[0].equations.raceGroup0.male[0]", "equation does not parse: unbalanced parentheses at offset 0: ("}},
      {"unknown name", [](json& j) { j["authors"][0]["equations"][0]["equations"]["raceGroup0"]["male"][0] = "0.04*HEIGHT"; },
       {"authors[0].equations[0].equations.raceGroup0.male[0]", "unknown name HEIGHT"}},
      {"three factors", [](json& j) { j["predSet"]["raceCorrections"][0]["factors"] = {1.0, 1.0, 1.0}; },
       {"predSet.raceCorrections[0].factors", "must hold 4 elements, not 3"}},
      {"kind out of range", [](json& j) { j["authors"][0]["equations"][1]["kind"] = 2; },
       {"authors[0].equations[1].kind", "2 is outside 0 to 1"}},
      {"newer version", [](json& j) { j["version"] = 2; },
       {"version", "version 2 is not supported (this program reads version 1)"}},
      {"wrong kind", [](json& j) { j["kind"] = "ex"; }, {"kind", "\"ex\" must be \"pf\" or \"gx\""}},
  };
  for (const auto& c : cases) {
    json doc = ValidPf();
    c.spoil(doc);
    std::vector<Problem> problems;
    EXPECT_FALSE(kplstore::ReadContent(doc, Checker(), problems)) << c.label;
    ASSERT_FALSE(problems.empty()) << c.label;
    EXPECT_NE(std::find(problems.begin(), problems.end(), c.expected), problems.end())
        << c.label << ": first problem was " << problems[0].where << ": " << problems[0].what;
  }
}

TEST(StoreContent, AcceptsTheTextsTheCalculatorsUnderstand) {
  const struct {
    const char* text;
    bool gx;
    bool ok;
  } cases[] = {
      {"", false, true},
      {"Caucasian", false, true},  // asks for the race-1 text
      {"EXP(-10.342+2.2196*LN(HEIGHTCM)-0.1589*AFRICAN_AMERICAN+GLI_M_SPLINE_FEV1)", false, true},
      {"GLI_L_SPLINE_FEF75*2", false, true},
      {"((AGE+25+ABS(AGE-25))/2)", false, true},
      {"0.0000529*AGEADJUST^2", false, true},
      {"PREDICTED FEV1*40", true, true},
      {"VO2_BIKE*1.11", true, true},
      {"VO2_BIKE*1.11", false, false},  // a GX name in a PF text
      {"HEIGHTCM)", false, false},
      {"1/0", false, true},  // a value problem, not a text problem
  };
  for (const auto& c : cases) {
    EXPECT_EQ(kplstore::CheckEquation(c.text, c.gx, Checker()).empty(), c.ok) << c.text;
  }
}

TEST(StoreContent, SyntaxErrorsOfJsonAreOneProblem) {
  std::vector<Problem> problems;
  EXPECT_FALSE(kplstore::ReadContentText("{\"format\": ", Checker(), problems));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].what.find("not valid JSON"), std::string::npos);
}

}  // namespace
