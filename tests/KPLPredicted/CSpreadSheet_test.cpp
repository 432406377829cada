#include "KPLPredicted/CSpreadSheet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "support/ReportCapture.h"

namespace {

// A value text read the way the calculators read it.
double Parsed(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// A grid of `rows` x `cols` with the current cell at (1, 1).
CSpreadSheet Grid(std::int32_t rows, std::int32_t cols) {
  CSpreadSheet grid;
  grid.SetMaxRow(rows);
  grid.SetMaxCol(cols);
  grid.SetRow(1);
  grid.SetCol(1);
  return grid;
}

TEST(CSpreadSheetTest, FormulaValueTextReadsBackExactly) {
  CSpreadSheet grid = Grid(2, 2);
  struct Case {
    const char* formula;
    double expected;
  } cases[] = {
      {"1/3", 1.0 / 3},
      {"((0.0443*170.000000-0.026*45.000000-2.89) *1.00) *1.0", 0.0443 * 170 - 0.026 * 45 - 2.89},
      {"-1E-20", -1e-20},
      {"2^70", std::pow(2.0, 70)},
      {"-0", 0},
  };
  for (const Case& c : cases) {
    grid.SetFormula(c.formula);
    EXPECT_EQ(Parsed(grid.GetValueText()), c.expected) << c.formula << " -> " << grid.GetValueText();
    EXPECT_EQ(grid.GetFormula(), c.formula);
    EXPECT_EQ(grid.GetErrorText(), "");
    EXPECT_TRUE(grid.CheckCell(1, 1));
  }
  grid.SetFormula("-0");
  EXPECT_EQ(grid.GetValueText(), "0");
}

TEST(CSpreadSheetTest, FormulaWithoutValueReadsAsZeroAndKeepsTheReason) {
  CSpreadSheet grid = Grid(1, 1);
  struct Case {
    const char* formula;
    const char* reason;
  } cases[] = {
      {"", "empty formula"},
      {"(() *1.00) *1.0", "syntax error at offset 2: )"},
      {"((EXP(1)/0) *1.00) *1.0", "division by zero at offset 8: /"},
      {"LN(-2)", "argument out of range at offset 0: LN"},
      {"EXP(800)", "result too large at offset 0: EXP"},
      {"GLI_L_SPLINE_FEV1+1", "unknown name at offset 0: GLI_L_SPLINE_FEV1"},
  };
  for (const Case& c : cases) {
    grid.SetFormula(c.formula);
    EXPECT_EQ(grid.GetValueText(), "0") << c.formula;
    EXPECT_EQ(grid.GetText(), "0") << c.formula;
    EXPECT_EQ(grid.GetErrorText(), c.reason) << c.formula;
    EXPECT_FALSE(grid.CheckCell(1, 1)) << c.formula;
  }
}

TEST(CSpreadSheetTest, ValueTextMakesALiteralOrText) {
  CSpreadSheet grid = Grid(1, 2);
  grid.SetFormula("1/0");
  grid.SetValueText("2.5000000");  // as a calculator writes with "%0.7f"
  EXPECT_EQ(grid.GetValueText(), "2.5");
  EXPECT_EQ(grid.GetFormula(), "");
  EXPECT_EQ(grid.GetErrorText(), "");
  EXPECT_TRUE(grid.CheckCell(1, 1));

  grid.SetValueText(" -1e-3 ");
  EXPECT_EQ(Parsed(grid.GetValueText()), -0.001);
  grid.SetDecimals(2);
  EXPECT_EQ(grid.GetText(), "0.00");  // no "-0.00"

  for (const char* text : {"abc", "1+2", "nan", "inf", "0x10", "12abc"}) {
    grid.SetValueText(text);
    EXPECT_EQ(grid.GetValueText(), text) << "not a number text stays text";
  }
}

TEST(CSpreadSheetTest, CellsKeepTextAndShowValuesWithDecimals) {
  CSpreadSheet grid = Grid(4, 6);
  grid.SetRow(0);
  grid.SetCol(2);
  grid.SetText("Value");
  grid.SetRow(3);
  grid.SetCol(6);
  grid.SetText("17");
  grid.SetRow(3);
  grid.SetCol(2);
  grid.SetFormula("2/3");
  grid.SetDecimals(3);

  grid.SetRow(0);
  grid.SetCol(2);
  EXPECT_EQ(grid.GetValueText(), "Value");  // a missing variable reads row 0
  EXPECT_EQ(Parsed(grid.GetValueText()), 0);
  grid.SetRow(3);
  EXPECT_EQ(grid.GetText(), "0.667");
  EXPECT_EQ(Parsed(grid.GetValueText()), 2.0 / 3);
  EXPECT_EQ(grid.GetDecimals(), 3);
  grid.SetCol(6);
  EXPECT_EQ(grid.GetText(), "17");
  grid.SetRow(2);
  EXPECT_EQ(grid.GetText(), "");
  EXPECT_EQ(grid.GetValueText(), "");
  EXPECT_EQ(grid.GetDecimals(), -1);
  EXPECT_TRUE(grid.CheckCell(6, 2));
}

TEST(CSpreadSheetTest, SizeChangesDropCellsAndMoveTheCurrentCell) {
  CSpreadSheet grid = Grid(4, 3);
  grid.SetRow(4);
  grid.SetCol(3);
  grid.SetText("last");
  grid.SetRow(2);
  grid.SetText("kept");

  grid.SetMaxRow(3);
  grid.SetMaxCol(2);
  EXPECT_EQ(grid.GetRow(), 2);
  EXPECT_EQ(grid.GetCol(), 2);
  grid.SetMaxRow(4);
  grid.SetMaxCol(3);
  grid.SetRow(4);
  grid.SetCol(3);
  EXPECT_EQ(grid.GetText(), "");
  grid.SetRow(2);
  EXPECT_EQ(grid.GetText(), "") << "column 3 was dropped";

  grid.SetMaxRow(0);
  EXPECT_EQ(grid.GetRow(), 0);
}

TEST(CSpreadSheetTest, BadArgumentsAreReportedAndChangeNothing) {
  kpl::testing::ReportCapture capture;
  CSpreadSheet grid = Grid(4, 6);
  grid.SetRow(2);
  grid.SetCol(3);

  grid.SetRow(5);
  grid.SetRow(-1);
  grid.SetCol(7);
  grid.SetMaxRow(-1);
  grid.SetMaxRow(CSpreadSheet::kMaxRows + 1);
  grid.SetMaxCol(CSpreadSheet::kMaxCols + 1);
  grid.SetRow2(-2);
  grid.SetCol2(8);
  grid.SetDecimals(16);
  EXPECT_FALSE(grid.CheckCell(1, 9));
  EXPECT_EQ(grid.FindRow(9, "x"), 0);

  EXPECT_EQ(capture.Messages(), (std::vector<std::string>{
                                    "Invalid row: 5.",
                                    "Invalid row: -1.",
                                    "Invalid column: 7.",
                                    "Invalid row count: -1.",
                                    "Invalid row count: 1000001.",
                                    "Invalid column count: 1001.",
                                    "Invalid block row: -2.",
                                    "Invalid block column: 8.",
                                    "Invalid decimals: 16.",
                                    "Invalid cell: column 1, row 9.",
                                    "Invalid column: 9.",
                                }));
  for (const auto& report : capture.Reports()) EXPECT_EQ(report.moduleName, "KPLPredicted/CSpreadSheet");
  EXPECT_EQ(grid.GetRow(), 2);
  EXPECT_EQ(grid.GetCol(), 3);
  EXPECT_EQ(grid.GetMaxRow(), 4);
  EXPECT_EQ(grid.GetMaxCol(), 6);
  EXPECT_EQ(grid.GetDecimals(), -1);
}

TEST(CSpreadSheetTest, BlockFormattingCoversTheBlockOnly) {
  CSpreadSheet grid = Grid(4, 6);
  constexpr std::uint32_t kPeach = 185u << 16 | 218u << 8 | 255u;  // 0x00BBGGRR
  grid.SetRow(3);
  grid.SetCol(1);
  grid.SetRow2(4);
  grid.SetCol2(-1);  // to the last column
  grid.SetBlockMode(true);
  grid.SetBlockColor(kPeach);
  grid.SetBlockFormat(5);
  grid.SetDecimals(2);
  grid.SetBlockMode(false);
  EXPECT_EQ(grid.GetRow(), 3);  // formatting a block leaves the current cell alone
  EXPECT_EQ(grid.GetCol(), 1);
  grid.SetRow(2);
  grid.SetCol(2);
  grid.SetBlockFormat(1);  // outside block mode: the current cell

  struct Probe {
    std::int32_t row, col;
    std::uint32_t color;
    std::int32_t format;
    std::int16_t decimals;
  } probes[] = {
      {3, 1, kPeach, 5, 2}, {4, 6, kPeach, 5, 2}, {3, 6, kPeach, 5, 2},
      {2, 1, 0xFFFFFF, 0, -1}, {2, 2, 0xFFFFFF, 1, -1}, {3, 0, 0xFFFFFF, 0, -1},
  };
  for (const Probe& p : probes) {
    grid.SetRow(p.row);
    grid.SetCol(p.col);
    EXPECT_EQ(grid.GetCellColor(), p.color) << p.row << "," << p.col;
    EXPECT_EQ(grid.GetCellFormat(), p.format) << p.row << "," << p.col;
    EXPECT_EQ(grid.GetDecimals(), p.decimals) << p.row << "," << p.col;
  }

  grid.SetCol(6);
  grid.SetColHidden(true);
  EXPECT_TRUE(grid.GetColHidden());
  grid.SetCol(5);
  EXPECT_FALSE(grid.GetColHidden());
}

TEST(CSpreadSheetTest, FindRowAnswersLikeAScanAfterEveryChange) {
  CSpreadSheet grid = Grid(6, 6);
  auto put = [&grid](std::int32_t row, const std::string& text) {
    grid.SetRow(row);
    grid.SetCol(6);
    grid.SetText(text);
  };
  grid.SetRow(0);
  grid.SetCol(6);
  grid.SetText("0");  // the header row never matches
  for (std::int32_t row = 1; row <= 6; ++row) put(row, std::to_string((row - 1) / 2));

  EXPECT_EQ(grid.FindRow(6, "0"), 1);
  EXPECT_EQ(grid.FindRow(6, "1"), 3);
  EXPECT_EQ(grid.FindRow(6, "2"), 5);
  EXPECT_EQ(grid.FindRow(6, "3"), 0);
  EXPECT_EQ(grid.FindRow(5, "1"), 0);

  put(3, "9");
  EXPECT_EQ(grid.FindRow(6, "1"), 4);
  EXPECT_EQ(grid.FindRow(6, "9"), 3);
  grid.SetRow(4);
  grid.SetFormula("1");
  EXPECT_EQ(grid.FindRow(6, "1"), 0) << "a formula is not text";
  grid.SetValueText("2");
  EXPECT_EQ(grid.FindRow(6, "2"), 5) << "a literal is not text";
  grid.SetMaxRow(4);
  EXPECT_EQ(grid.FindRow(6, "2"), 0);
}

// Mutates valid formulas into thousands of malformed ones and random bytes:
// every one must give a finite value text, "0" when it has an error.
TEST(CSpreadSheetTest, MalformedFormulasNeverYieldANonNumber) {
  const std::vector<std::string> seeds = {
      "((EXP(-10.342+2.2196*LN(175.000000)+0.0574*LN(45.000000)-0.1589*0-0.0351*0+0.012345)) *1.00) *1.0",
      "((-0.7453-0.04106*45.000000+0.004477*45.000000^2+0.00014098*175.000000^2) *1.00) *1.0",
      "IF(MAX(1,2)>=2,ROUND(SQRT(2),3),LOG(100,10))",
      "(() *1.00) *1.0",
  };
  const std::string alphabet = "()+-*/^,.=<>eE0123456789 ABCDEFGHILNOPQRSTUVWXZ_#;\t";
  std::mt19937 random(20240607);
  auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };

  CSpreadSheet grid = Grid(1, 1);
  int errors = 0;
  for (int i = 0; i < 6000; ++i) {
    std::string text;
    if (i % 10 == 9) {
      text.resize(pick(200));
      for (char& c : text) c = static_cast<char>(random() & 0xFF);
    } else {
      text = seeds[pick(seeds.size())];
      const int edits = 1 + static_cast<int>(pick(4));
      for (int e = 0; e < edits; ++e) {
        const std::size_t at = text.empty() ? 0 : pick(text.size());
        switch (pick(4)) {
          case 0:  // delete a run
            text.erase(at, 1 + pick(3));
            break;
          case 1:  // insert a character
            text.insert(at, 1, alphabet[pick(alphabet.size())]);
            break;
          case 2:  // duplicate a piece
            text.insert(at, text.substr(at, pick(20)));
            break;
          default:  // cut the end
            text.resize(at);
            break;
        }
      }
    }
    grid.SetFormula(text);
    const std::string value = grid.GetValueText();
    const double parsed = Parsed(value);
    ASSERT_TRUE(std::isfinite(parsed)) << text << " -> " << value;
    if (!grid.GetErrorText().empty()) {
      ++errors;
      ASSERT_EQ(value, "0") << text;
      ASSERT_FALSE(grid.CheckCell(1, 1)) << text;
    }
  }
  EXPECT_GT(errors, 3000);  // the mutations mostly break the texts
}

}  // namespace
