// The GLI 2012 equations, written in the token language, through the spline
// table and the grid, against the same LMS quantities computed directly from
// the published coefficients and the spline table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "KPLClassLibrary/KplGlobal.h"
#include "KPLDomainObjects/KPLSplineTable.h"
#include "KPLPredicted/CSpreadSheet.h"
#include "support/TempDir.h"

namespace {

std::vector<std::vector<std::string>> ReadTsv(const std::string& path, int skipLines) {
  std::ifstream in(path);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  for (int n = 0; std::getline(in, line); ++n) {
    if (n < skipLines) continue;
    std::vector<std::string> fields;
    std::stringstream s(line);
    for (std::string field; std::getline(s, field, '\t');) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

void ReplaceAll(std::string& text, const std::string& token, const std::string& value) {
  for (auto at = text.find(token); at != std::string::npos; at = text.find(token, at + value.size())) {
    text.replace(at, token.size(), value);
  }
}

struct Patient {
  std::int32_t sex;
  std::int32_t race;
  double age;     // at most six decimals, so "%f" keeps it
  double height;  // [cm]
};

class GliEquationsTest : public ::testing::Test {
 protected:
  const std::string dir_ = kpl::testing::SharedDir() + "data/gli2012/";
  const std::string table_ = dir_ + "GLI2012.cfg";

  // A spline column of the table, interpolated linearly in age.
  double Spline(double age, const std::string& variable, std::int32_t sex, int lms) const {
    static const std::map<std::string, int> kOrder = {
        {"FEV1", 0}, {"FVC", 1}, {"FEV1FVC", 2}, {"FEF2575", 3}, {"FEF75", 4}};
    const auto column = static_cast<std::size_t>(1 + (kOrder.at(variable) * 2 + sex - 1) * 3 + lms);
    static const auto rows = ReadTsv(table_, 3);
    for (std::size_t i = 1; i < rows.size(); ++i) {
      const double a0 = std::stod(rows[i - 1][0]);
      const double a1 = std::stod(rows[i][0]);
      if (age >= a0 && age <= a1) {
        const double v0 = std::stod(rows[i - 1][column]);
        const double v1 = std::stod(rows[i][column]);
        return v0 + (age - a0) / (a1 - a0) * (v1 - v0);
      }
    }
    ADD_FAILURE() << "age outside the table: " << age;
    return 0;
  }

  // pred = M and sd = (M - LLN) / 1.645, LLN = M (1 - 1.645 L S)^(1/L).
  double Expected(const Patient& p, const std::string& variable, const std::string& kind) const {
    static const auto coefficients = ReadTsv(dir_ + "coefficients.tsv", 1);
    const double race[] = {p.race == 2 ? 1.0 : 0.0, p.race == 6 ? 1.0 : 0.0, p.race == 7 ? 1.0 : 0.0,
                           (p.race == 4 || p.race == 5) ? 1.0 : 0.0};
    std::map<std::string, double> lms;
    for (const auto& row : coefficients) {
      if (row[0] != variable || std::stoi(row[1]) != p.sex) continue;
      double x = std::stod(row[3]) + std::stod(row[4]) * std::log(p.height) + std::stod(row[5]) * std::log(p.age);
      for (int r = 0; r < 4; ++r) x += std::stod(row[static_cast<std::size_t>(6 + r)]) * race[r];
      const std::string& parameter = row[2];
      const int column = parameter == "L" ? 0 : (parameter == "M" ? 1 : 2);
      if (row[10] != "none") x += Spline(p.age, variable, p.sex, column);
      lms[parameter] = parameter == "L" ? x : std::exp(x);
    }
    const double m = lms.at("M");
    if (kind == "pred") return m;
    const double l = lms.at("L");
    const double lln = m * std::pow(1 - 1.645 * l * lms.at("S"), 1 / l);
    return (m - lln) / 1.645;
  }

  // The value the grid gives for the equation, prepared as the calculator does.
  double Evaluated(const Patient& p, std::string equation, std::string& error) const {
    ReplaceAll(equation, "AGE", KplFormat("%f", p.age));
    ReplaceAll(equation, "HEIGHTCM", KplFormat("%f", p.height));
    KPLSplineTable table(table_, p.age, p.sex, p.race, p.height, 70);
    table.SetTableKind(KPLSplineTable::kGli2012);
    table.SubstituteSplines(equation, 0);
    CSpreadSheet grid;
    grid.SetFormula("((" + equation + ") *1.00) *1.0");
    error = grid.GetErrorText();
    return std::strtod(grid.GetValueText().c_str(), nullptr);
  }
};

TEST_F(GliEquationsTest, PredictedAndSdMatchTheLmsQuantities) {
  const Patient patients[] = {
      {1, 1, 45.3, 175.2},  {2, 2, 8.6, 128.0},   {1, 6, 70.91, 168.5}, {2, 7, 3.1, 95.0},
      {2, 4, 78.4, 160.0},  // FEF75 female: L changes sign near here
      {1, 5, 94.0, 170.0},  {1, 2, 17.77, 181.0}, {2, 1, 25.0, 165.0},
  };
  const auto equations = ReadTsv(dir_ + "equations.tsv", 1);
  ASSERT_GT(equations.size(), 20u);
  for (const Patient& p : patients) {
    for (const auto& row : equations) {
      const std::string& variable = row[0];
      const std::string& kind = row[2];
      if (std::stoi(row[1]) != p.sex || kind == "sd_nolspline") continue;
      std::string error;
      const double value = Evaluated(p, row[3], error);
      const double expected = Expected(p, variable, kind);
      const std::string label = variable + " " + kind + " sex " + std::to_string(p.sex) + " race " +
                                std::to_string(p.race) + " age " + std::to_string(p.age);
      EXPECT_EQ(error, "") << label;
      EXPECT_NEAR(value, expected, 2e-6 * std::fabs(expected)) << label;
    }
  }
}

}  // namespace
