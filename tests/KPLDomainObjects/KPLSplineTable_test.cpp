#include "KPLDomainObjects/KPLSplineTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "KPLPlatform/Installed.h"
#include "KPLPlatform/Prompt.h"
#include "support/TempDir.h"

namespace {

using kpl::platform::Prompt;
using kpl::platform::RecordingPrompt;
using kpl::platform::ScopedInstall;
using Index = KPLSplineTable::EntryIndex;

// One data line: the age, then columns 2 to `columns` holding k + age, so that
// interpolating column k at any age gives k + age.
std::string Line(double age, int columns = 31) {
  std::string line = std::to_string(age);
  for (int k = 2; k <= columns; ++k) line += "\t" + std::to_string(k + age);
  return line + "\n";
}

const std::string kHeaders = "title\ncolumns\nage\tFEV1_M_L\t...\n";

class SplineTableTest : public ::testing::Test {
 protected:
  // A GLI 2012 table over `file`, read for the patient.
  KPLSplineTable Table(const std::string& file, double age, std::int32_t sex = 1, std::int32_t race = 1,
                       std::int32_t kind = KPLSplineTable::kGli2012) {
    KPLSplineTable table(file, age, sex, race, 175, 70);
    table.SetTableKind(kind);
    return table;
  }

  kpl::testing::TempDir dir_;
  std::string rows_ = dir_.Write("rows.cfg", kHeaders + Line(5) + Line(6) + Line(6.5) + Line(7) + Line(95));
  std::shared_ptr<RecordingPrompt> prompt_ = std::make_shared<RecordingPrompt>();
  ScopedInstall<Prompt> installPrompt_{prompt_};
};

TEST_F(SplineTableTest, TableKindSetsPrefixRangeColumnsAndTokens) {
  struct Case {
    std::int32_t kind;
    const char* prefix;
    double maximumAge;
    std::int32_t columnLimit;
    const char* fev1fvcMToken;
    const char* fef75SToken;
    std::int32_t fef75Enabled;
  } cases[] = {
      {1, "GLI_", 95, 32, "GLI_M_SPLINE_FFEV1FVC", "GLI_S_SPLINE_FEF75", 1},
      {0, "STAN_", 80, 26, "STAN_M_SPLINE_FFEV1FVC", "", 0},
      {7, "STAN_", 80, 26, "STAN_M_SPLINE_FFEV1FVC", "", 0},
  };
  for (const Case& c : cases) {
    KPLSplineTable table = Table(rows_, 6.25, 1, 1, KPLSplineTable::kGli2012);
    ASSERT_EQ(table.ReadTable(), 1);
    table.SetTableKind(c.kind);
    EXPECT_EQ(table.GetTableKind(), c.kind);
    EXPECT_EQ(table.GetTokenPrefix(), c.prefix);
    EXPECT_EQ(table.GetMinimumAge(), 3.0);
    EXPECT_EQ(table.GetMaximumAge(), c.maximumAge);
    EXPECT_EQ(table.GetColumnLimit(), c.columnLimit);
    EXPECT_EQ(table.GetEntry(KPLSplineTable::kFEV1FVC).mToken, c.fev1fvcMToken);
    EXPECT_EQ(table.GetEntry(KPLSplineTable::kFEF75).sToken, c.fef75SToken);
    EXPECT_EQ(table.GetEntry(KPLSplineTable::kFEF75).enabled, c.fef75Enabled);
    EXPECT_EQ(table.GetEntry(KPLSplineTable::kFEF2575).enabled, 1);
    EXPECT_EQ(table.GetEntry(KPLSplineTable::kFEV1).mValue, "") << "values are emptied";
    EXPECT_TRUE(table.IsLoaded()) << "the read stays done";
  }
}

TEST(SplineTableInterpolateTest, InterpolatesInAgeAndHoldsTheEnds) {
  struct Case {
    const char* label;
    double age, lowerAge, upperAge, lowerValue, upperValue;
    const char* expected;
  } cases[] = {
      {"midway", 6.25, 6.0, 6.5, 0.1, 0.2, "0.150000"},
      {"at the lower row", 6.0, 6.0, 6.5, 0.1, 0.2, "0.100000"},
      {"at the upper row", 6.5, 6.0, 6.5, 0.1, 0.2, "0.200000"},
      {"below both", 5.0, 6.0, 6.5, 0.1, 0.2, "0.100000"},
      {"above both", 7.0, 6.0, 6.5, 0.1, 0.2, "0.200000"},
      {"one row", 6.2, 6.0, 6.00005, 0.1, 0.2, "0.100000"},
      {"reversed rows, midway", 6.25, 6.5, 6.0, 0.2, 0.1, "0.150000"},
      {"reversed rows, below", 5.0, 6.5, 6.0, 0.2, 0.1, "0.100000"},
      {"reversed rows, above", 7.0, 6.5, 6.0, 0.2, 0.1, "0.200000"},
      {"six decimals", 0.5, 0.0, 1.0, 0.0, 2.0 / 3, "0.333333"},
      {"negative", 1.0, 0.0, 1.0, 0.0, -0.1133230622, "-0.113323"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KPLSplineTable::Interpolate(c.age, c.lowerAge, c.upperAge, c.lowerValue, c.upperValue), c.expected)
        << c.label;
  }
}

TEST_F(SplineTableTest, ReadsThePatientsSexBetweenTheRowsAroundTheAge) {
  struct Case {
    const char* label;
    double age;
    std::int32_t sex;
    Index entry;
    const char* first;
    const char* m;
    const char* s;
  } cases[] = {
      {"male FEV1 between rows", 6.25, 1, KPLSplineTable::kFEV1, "8.250000", "9.250000", "10.250000"},
      {"female FEV1 reads columns 5 to 7", 6.25, 2, KPLSplineTable::kFEV1, "11.250000", "12.250000", "13.250000"},
      {"female FEF75, last columns", 6.25, 2, KPLSplineTable::kFEF75, "35.250000", "36.250000", "37.250000"},
      {"male FEF75", 6.25, 1, KPLSplineTable::kFEF75, "32.250000", "33.250000", "34.250000"},
      {"age on a row", 6.0, 1, KPLSplineTable::kFVC, "14.000000", "15.000000", "16.000000"},
      {"before the first row: its values", 4.0, 1, KPLSplineTable::kFEV1, "7.000000", "8.000000", "9.000000"},
      {"between distant rows", 51.0, 1, KPLSplineTable::kFEV1, "53.000000", "54.000000", "55.000000"},
      {"beyond the maximum: the maximum's row", 96.0, 1, KPLSplineTable::kFEV1, "97.000000", "98.000000",
       "99.000000"},
  };
  for (const Case& c : cases) {
    KPLSplineTable table = Table(rows_, c.age, c.sex);
    ASSERT_EQ(table.ReadTable(), 1) << c.label;
    EXPECT_TRUE(table.IsLoaded());
    const auto& e = table.GetEntry(c.entry);
    EXPECT_EQ(e.firstValue, c.first) << c.label;
    EXPECT_EQ(e.mValue, c.m) << c.label;
    EXPECT_EQ(e.sValue, c.s) << c.label;
  }
  // The other sex's columns are left alone.
  KPLSplineTable table = Table(rows_, 6.25, 2);
  ASSERT_EQ(table.ReadTable(), 1);
  EXPECT_EQ(table.GetEntry(KPLSplineTable::kFEV1).mValue, "12.250000");
}

TEST_F(SplineTableTest, SubstitutesSplineAndRaceTokens) {
  KPLSplineTable table = Table(rows_, 6.25);
  std::string equation =
      "EXP(1+GLI_M_SPLINE_FEV1*2+GLI_S_SPLINE_FVC+GLI_L_SPLINE_FEF75-GLI_M_SPLINE_FEV1+"
      "AFRICAN_AMERICAN+NEASIA+SEASIA+OTHER+STAN_M_SPLINE_FEV1)";
  table.SubstituteSplines(equation, 1);
  EXPECT_EQ(equation, "EXP(1+9.250000*2+16.250000+32.250000-9.250000+0+0+0+0+STAN_M_SPLINE_FEV1)");
  EXPECT_TRUE(prompt_->Requests().empty());

  // Stanojevic: no FEF75 tokens, 25 columns, GLI tokens untouched.
  KPLSplineTable stan = Table(rows_, 6.25, 2, 1, KPLSplineTable::kStanojevic);
  equation = "1+STAN_M_SPLINE_FEF2575+STAN_L_SPLINE_FEF2575+STAN_M_SPLINE_FEF75+GLI_M_SPLINE_FEV1";
  stan.SubstituteSplines(equation, 1);
  EXPECT_EQ(equation, "1+30.250000+29.250000+STAN_M_SPLINE_FEF75+GLI_M_SPLINE_FEV1");
}

TEST_F(SplineTableTest, LeavesEquationsWithoutThePrefixAfterTheFirstCharacter) {
  KPLSplineTable table = Table(rows_, 6.25);
  for (const std::string original : {"GLI_M_SPLINE_FEV1+OTHER", "1+OTHER", "", "1+gli_m_spline_fev1"}) {
    std::string equation = original;
    table.SubstituteSplines(equation, 1);
    EXPECT_EQ(equation, original);
  }
  EXPECT_FALSE(table.IsLoaded()) << "the file is read only when needed";
}

TEST_F(SplineTableTest, AgesOutsideTheRangeEmptyTheEquation) {
  struct Case {
    double age;
    std::int32_t kind;
    const char* expected;
  } cases[] = {
      {2.99, KPLSplineTable::kGli2012, ""},
      {3.0, KPLSplineTable::kGli2012, "1+8.000000"},
      {95.0, KPLSplineTable::kGli2012, "1+98.000000"},
      {95.01, KPLSplineTable::kGli2012, ""},
      {80.0, KPLSplineTable::kStanojevic, "1+83.000000"},
      {80.01, KPLSplineTable::kStanojevic, ""},
  };
  for (const Case& c : cases) {
    KPLSplineTable table = Table(rows_, c.age, 1, 1, c.kind);
    std::string equation = c.kind == KPLSplineTable::kGli2012 ? "1+GLI_M_SPLINE_FEV1" : "1+STAN_M_SPLINE_FEV1";
    table.SubstituteSplines(equation, 1);
    EXPECT_EQ(equation, c.expected) << c.age;
  }
}

TEST_F(SplineTableTest, RaceTokensFollowTheRaceCode) {
  struct Case {
    std::int32_t race;
    const char* expected;  // AFRICAN_AMERICAN NEASIA SEASIA OTHER
  } cases[] = {
      {1, "0 0 0 0"}, {2, "1 0 0 0"}, {3, "0 0 0 0"}, {4, "0 0 0 1"},
      {5, "0 0 0 1"}, {6, "0 1 0 0"}, {7, "0 0 1 0"}, {0, "0 0 0 1"},
  };
  for (const Case& c : cases) {
    KPLSplineTable table = Table(rows_, 40, 1, c.race);
    std::string equation = "X GLI_ AFRICAN_AMERICAN NEASIA SEASIA OTHER";
    table.SubstituteSplines(equation, 1);
    EXPECT_EQ(equation, std::string("X GLI_ ") + c.expected) << "race " << c.race;
  }
}

TEST_F(SplineTableTest, MissingFileTellsTheUserEachTimeAndKeepsTheEquation) {
  const std::string missing = dir_.File("nowhere.cfg");
  KPLSplineTable table = Table(missing, 40);
  std::string equation = "1+GLI_M_SPLINE_FEV1";
  table.SubstituteSplines(equation, 1);
  table.SubstituteSplines(equation, 1);
  EXPECT_EQ(equation, "1+GLI_M_SPLINE_FEV1");
  EXPECT_FALSE(table.IsLoaded());
  const auto requests = prompt_->Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].text, missing + ": No such file or directory");
  EXPECT_EQ(requests[0].buttons, kpl::platform::PromptButtons::kOk);
  EXPECT_EQ(table.ReadTable(), 0);

  KPLSplineTable folder = Table(dir_.Path(), 40);
  EXPECT_EQ(folder.ReadTable(), 0);
  EXPECT_FALSE(folder.IsLoaded());
  EXPECT_EQ(prompt_->Requests().back().text, dir_.Path() + ": Is a directory");
}

TEST_F(SplineTableTest, ConfigurationFolderIsFoundInEitherSpelling) {
  kpl::testing::TempDir root;
  std::filesystem::create_directory(root.File("Cfg"));
  root.Write("Cfg/GLI2012.cfg", kHeaders + Line(5) + Line(7));
  KPLSplineTable table = Table(root.File("CFG/GLI2012.cfg"), 6);
  EXPECT_EQ(table.ReadTable(), 1);
  EXPECT_EQ(table.GetEntry(KPLSplineTable::kFEV1).mValue, "9.000000");
}

TEST_F(SplineTableTest, DamagedFilesGiveTheOutcomesTheFormatImplies) {
  std::string shortLine = Line(7);
  shortLine.resize(shortLine.find("\t12."));  // columns 2 to 4 only
  std::string badCell = Line(7);
  badCell.replace(badCell.find("\t10."), 10, "\tx.y");  // column 3
  struct Case {
    const char* label;
    std::string content;
    double age;
    const char* fev1M;
    const char* fvcM;
    const char* equation;
  } cases[] = {
      {"headers only: no values, tokens vanish", kHeaders, 40, "", "", "1+*"},
      {"cut inside the headers", "title\n", 40, "", "", "1+*"},
      {"empty file", "", 40, "", "", "1+*"},
      {"short line: missing columns read 0", kHeaders + shortLine, 6, "10.000000", "0.000000", "1+10.000000*0.000000"},
      {"non-numeric cell reads 0", kHeaders + badCell, 6, "0.000000", "16.000000", "1+0.000000*16.000000"},
      {"CR LF line ends", "a\r\nb\r\nc\r\n" + Line(5) + Line(7), 6, "9.000000", "15.000000", "1+9.000000*15.000000"},
      // Rows 96 then 95: the lower row lies above the upper one.
      {"rows out of order", kHeaders + Line(5) + Line(96) + Line(95), 97, "99.000000", "105.000000", ""},
  };
  for (const Case& c : cases) {
    const std::string file = dir_.Write("damaged.cfg", c.content);
    KPLSplineTable table = Table(file, c.age);
    ASSERT_EQ(table.ReadTable(), 1) << c.label;
    EXPECT_EQ(table.GetEntry(KPLSplineTable::kFEV1).mValue, c.fev1M) << c.label;
    EXPECT_EQ(table.GetEntry(KPLSplineTable::kFVC).mValue, c.fvcM) << c.label;
    std::string equation = "1+GLI_M_SPLINE_FEV1*GLI_M_SPLINE_FVC";
    table.SubstituteSplines(equation, 1);
    EXPECT_EQ(equation, c.equation) << c.label;
  }
  EXPECT_TRUE(prompt_->Requests().empty());
}

TEST_F(SplineTableTest, ReadsTheShippedGli2012Table) {
  const std::string file = kpl::testing::SharedDir() + "data/gli2012/GLI2012.cfg";
  struct Case {
    double age;
    std::int32_t sex;
    Index entry;
    const char* first;
    const char* m;
    const char* s;
  } cases[] = {
      // The table's own rows: 3.00 and 95.00.
      {3.0, 1, KPLSplineTable::kFEV1, "0.000000", "-0.113323", "0.214337"},
      {3.0, 1, KPLSplineTable::kFEV1FVC, "1.387622", "-0.022075", "-0.083156"},
      {95.0, 2, KPLSplineTable::kFEV1, "0.000000", "-0.500925", "0.333154"},
      // Midway between 3.00 and 3.25: the mean of the two rows.
      {3.125, 1, KPLSplineTable::kFEV1, "0.000000", "-0.110293", "0.209337"},
  };
  for (const Case& c : cases) {
    KPLSplineTable table = Table(file, c.age, c.sex);
    ASSERT_EQ(table.ReadTable(), 1);
    const auto& e = table.GetEntry(c.entry);
    EXPECT_EQ(e.firstValue, c.first) << c.age;
    EXPECT_EQ(e.mValue, c.m) << c.age;
    EXPECT_EQ(e.sValue, c.s) << c.age;
  }
}

}  // namespace
