// CSpreadSheet: the grid the calculators evaluate equations in.
//
// An in-memory grid of cells with a current cell, without a window. Rows and
// columns count from 1; row 0 and column 0 hold headers. A cell holds plain
// text, a formula (evaluated when it is set, with KplFormula) or a literal
// number. The calculators lay out one row per predicted value, write formulas
// and read back the value texts; rows stay in order and FindRow answers the
// row lookups by a column's text without a scan.
//
// A formula that cannot be evaluated is not a programming error: the cell's
// value becomes 0 and GetErrorText tells why. Bad rows, columns and sizes are
// reported through ReportAssertion and leave the grid as it was.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "KPLPredicted/KplFormula.h"

class CSpreadSheet {
 public:
  // The largest row and column counts a grid accepts.
  static constexpr std::int32_t kMaxRows = 1'000'000;
  static constexpr std::int32_t kMaxCols = 1'000;

  // One row and one column, the current cell at (1, 1).
  CSpreadSheet();
  virtual ~CSpreadSheet() = default;
  CSpreadSheet(const CSpreadSheet&) = default;
  CSpreadSheet& operator=(const CSpreadSheet&) = default;

  // ---- The current cell, which the cell operations act on ----
  [[nodiscard]] std::int32_t GetRow() const { return row_; }
  void SetRow(std::int32_t row);  // 0 to GetMaxRow()
  [[nodiscard]] std::int32_t GetCol() const { return col_; }
  void SetCol(std::int32_t col);  // 0 to GetMaxCol()

  // ---- Size: cells beyond a smaller size are dropped; the current cell and
  // the block end move inside it ----
  [[nodiscard]] std::int32_t GetMaxRow() const { return maxRow_; }
  void SetMaxRow(std::int32_t rows);  // 0 to kMaxRows
  [[nodiscard]] std::int32_t GetMaxCol() const { return maxCol_; }
  void SetMaxCol(std::int32_t cols);  // 0 to kMaxCols

  // ---- Content of the current cell ----
  // Plain text; a formula or literal cell shows its value with the cell's
  // decimals (all digits when none were set).
  void SetText(const std::string& text);
  [[nodiscard]] std::string GetText() const;
  // Makes the cell a formula and evaluates it.
  void SetFormula(const std::string& formula);
  // The formula text; "" for other cells.
  [[nodiscard]] std::string GetFormula() const;
  // The value as a number text that reads back as the same double: a formula's
  // result ("0" when it has an error), a literal's number, a text cell's text,
  // "" for an empty cell.
  [[nodiscard]] std::string GetValueText() const;
  // A number text ("12.5", "-1e-3", blanks around it allowed) makes the cell a
  // literal number; any other text makes it a text cell.
  void SetValueText(const std::string& text);
  // Why the cell's formula has no value ("division by zero at offset 3: /");
  // "" when it has one or is not a formula.
  [[nodiscard]] std::string GetErrorText() const;

  // True when the cell at (col, row) has a value: it is not a formula, or its
  // formula evaluated without error. The current cell does not change.
  bool CheckCell(std::int32_t col, std::int32_t row);

  // ---- Formatting ----
  // While block mode is on, SetBlockFormat, SetBlockColor and SetDecimals act
  // on the block from the current cell to (SetRow2, SetCol2), else on the
  // current cell. -1 for the block end means the last row or column.
  void SetBlockMode(bool on);
  [[nodiscard]] bool GetBlockMode() const { return blockMode_; }
  void SetRow2(std::int32_t row);
  void SetCol2(std::int32_t col);
  void SetBlockFormat(std::int32_t format);
  void SetBlockColor(std::uint32_t color);  // 0x00BBGGRR
  void SetDecimals(std::int16_t decimals);  // 0 to 15
  // Hides or shows the current column.
  void SetColHidden(bool hidden);
  [[nodiscard]] bool GetColHidden() const;
  // The current cell's format code, colour (white when never set) and decimals
  // (-1 when never set).
  [[nodiscard]] std::int32_t GetCellFormat() const;
  [[nodiscard]] std::uint32_t GetCellColor() const;
  [[nodiscard]] std::int16_t GetDecimals() const;

  // ---- Lookup ----
  // The first row from 1 to GetMaxRow() whose cell in column `col` holds the
  // plain text `text` (set with SetText); 0 when there is none.
  [[nodiscard]] std::int32_t FindRow(std::int32_t col, const std::string& text) const;

 private:
  enum class CellKind : std::uint8_t { kEmpty, kText, kFormula, kLiteral };
  struct Cell {
    CellKind kind = CellKind::kEmpty;
    std::string text;  // plain text, or the formula
    double value = 0.0;
    KplFormulaResult result;  // of the formula
    std::int32_t format = 0;
    std::uint32_t color = 0x00FFFFFF;
    std::int16_t decimals = -1;
  };
  using Row = std::vector<Cell>;  // grows to the highest column used

  // The current cell, created when missing.
  Cell& CurrentCell();
  // The cell, or null when it was never touched.
  [[nodiscard]] const Cell* FindCell(std::int32_t col, std::int32_t row) const;
  // Calls `apply` on each cell of the block, or on the current cell.
  template <typename Apply>
  void ForEachFormattedCell(Apply apply);
  void ChangedText(std::int32_t col);

  std::vector<Row> rows_;  // index = row number, 0 to maxRow_
  std::vector<bool> hiddenCols_;
  std::int32_t row_ = 1;
  std::int32_t col_ = 1;
  std::int32_t maxRow_ = 1;
  std::int32_t maxCol_ = 1;
  bool blockMode_ = false;
  std::int32_t row2_ = 1;
  std::int32_t col2_ = 1;

  // Per column: the first row of each plain text, built when first asked and
  // dropped when a text of that column changes.
  struct TextIndex {
    bool built = false;
    std::unordered_map<std::string, std::int32_t> firstRow;
  };
  mutable std::vector<TextIndex> textIndex_;
};
