#include "KPLPredicted/CSpreadSheet.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

#include "KPLClassLibrary/KplGlobal.h"

namespace {

constexpr const char* kModule = "KPLPredicted/CSpreadSheet";

// The shortest text that reads back as the same double; "0" for -0.
std::string NumberText(double value) {
  if (value == 0) return "0";
  char buffer[32];
  const auto [end, status] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (status != std::errc()) return "0";
  return std::string(buffer, end);
}

// The value with a fixed number of decimals, as the cell shows it.
std::string DecimalsText(double value, int decimals) {
  char buffer[400];
  const auto [end, status] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (status != std::errc()) return NumberText(value);
  std::string text(buffer, end);
  // "-0.00" shows as "0.00".
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

// A whole text that is one number, with an optional sign and blanks around it.
bool ParseNumberText(std::string_view text, double& value) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return false;
  const auto last = text.find_last_not_of(" \t\r\n");
  text = text.substr(first, last - first + 1);
  bool negate = false;
  if (text.front() == '+' || text.front() == '-') {
    negate = text.front() == '-';
    text.remove_prefix(1);
  }
  // Only digits, a point and an exponent: no "inf", "nan" or hexadecimal.
  if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.')) return false;
  double parsed = 0;
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (status != std::errc() || end != text.data() + text.size() || !std::isfinite(parsed)) return false;
  value = negate ? -parsed : parsed;
  return true;
}

}  // namespace

CSpreadSheet::CSpreadSheet() : rows_(2), hiddenCols_(2, false), textIndex_(2) {}

void CSpreadSheet::SetRow(std::int32_t row) {
  if (row < 0 || row > maxRow_) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid row: %d.", row));
    return;
  }
  row_ = row;
}

void CSpreadSheet::SetCol(std::int32_t col) {
  if (col < 0 || col > maxCol_) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid column: %d.", col));
    return;
  }
  col_ = col;
}

void CSpreadSheet::SetMaxRow(std::int32_t rows) {
  if (rows < 0 || rows > kMaxRows) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid row count: %d.", rows));
    return;
  }
  maxRow_ = rows;
  rows_.resize(static_cast<std::size_t>(rows) + 1);
  row_ = std::min(row_, maxRow_);
  row2_ = std::min(row2_, maxRow_);
  for (TextIndex& index : textIndex_) index = TextIndex{};
}

void CSpreadSheet::SetMaxCol(std::int32_t cols) {
  if (cols < 0 || cols > kMaxCols) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid column count: %d.", cols));
    return;
  }
  maxCol_ = cols;
  const auto size = static_cast<std::size_t>(cols) + 1;
  for (Row& row : rows_) {
    if (row.size() > size) row.resize(size);
  }
  hiddenCols_.resize(size, false);
  textIndex_.resize(size);
  col_ = std::min(col_, maxCol_);
  col2_ = std::min(col2_, maxCol_);
}

CSpreadSheet::Cell& CSpreadSheet::CurrentCell() {
  Row& row = rows_[static_cast<std::size_t>(row_)];
  if (row.size() <= static_cast<std::size_t>(col_)) row.resize(static_cast<std::size_t>(col_) + 1);
  return row[static_cast<std::size_t>(col_)];
}

const CSpreadSheet::Cell* CSpreadSheet::FindCell(std::int32_t col, std::int32_t row) const {
  if (row < 0 || row > maxRow_ || col < 0 || col > maxCol_) return nullptr;
  const Row& cells = rows_[static_cast<std::size_t>(row)];
  if (static_cast<std::size_t>(col) >= cells.size()) return nullptr;
  return &cells[static_cast<std::size_t>(col)];
}

void CSpreadSheet::ChangedText(std::int32_t col) {
  TextIndex& index = textIndex_[static_cast<std::size_t>(col)];
  if (index.built) index = TextIndex{};
}

void CSpreadSheet::SetText(const std::string& text) {
  Cell& cell = CurrentCell();
  cell.kind = text.empty() ? CellKind::kEmpty : CellKind::kText;
  cell.text = text;
  cell.value = 0;
  cell.result = {};
  ChangedText(col_);
}

std::string CSpreadSheet::GetText() const {
  const Cell* cell = FindCell(col_, row_);
  if (cell == nullptr) return {};
  switch (cell->kind) {
    case CellKind::kEmpty:
      return {};
    case CellKind::kText:
      return cell->text;
    case CellKind::kFormula:
    case CellKind::kLiteral:
      return cell->decimals >= 0 ? DecimalsText(cell->value, cell->decimals) : NumberText(cell->value);
  }
  return {};
}

void CSpreadSheet::SetFormula(const std::string& formula) {
  Cell& cell = CurrentCell();
  const bool wasText = cell.kind == CellKind::kText;
  cell.kind = CellKind::kFormula;
  cell.text = formula;
  cell.result = EvaluateFormula(formula);
  cell.value = cell.result.value;
  if (wasText) ChangedText(col_);
}

std::string CSpreadSheet::GetFormula() const {
  const Cell* cell = FindCell(col_, row_);
  return cell != nullptr && cell->kind == CellKind::kFormula ? cell->text : std::string();
}

std::string CSpreadSheet::GetValueText() const {
  const Cell* cell = FindCell(col_, row_);
  if (cell == nullptr) return {};
  switch (cell->kind) {
    case CellKind::kEmpty:
      return {};
    case CellKind::kText:
      return cell->text;
    case CellKind::kFormula:
    case CellKind::kLiteral:
      return NumberText(cell->value);
  }
  return {};
}

void CSpreadSheet::SetValueText(const std::string& text) {
  double value = 0;
  if (!ParseNumberText(text, value)) {
    SetText(text);
    return;
  }
  Cell& cell = CurrentCell();
  const bool wasText = cell.kind == CellKind::kText;
  cell.kind = CellKind::kLiteral;
  cell.text.clear();
  cell.value = value;
  cell.result = {};
  if (wasText) ChangedText(col_);
}

std::string CSpreadSheet::GetErrorText() const {
  const Cell* cell = FindCell(col_, row_);
  if (cell == nullptr || cell->kind != CellKind::kFormula) return {};
  return DescribeFormulaError(cell->result, cell->text);
}

bool CSpreadSheet::CheckCell(std::int32_t col, std::int32_t row) {
  if (row < 0 || row > maxRow_ || col < 0 || col > maxCol_) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid cell: column %d, row %d.", col, row));
    return false;
  }
  const Cell* cell = FindCell(col, row);
  return cell == nullptr || cell->kind != CellKind::kFormula || cell->result.ok();
}

void CSpreadSheet::SetBlockMode(bool on) { blockMode_ = on; }

void CSpreadSheet::SetRow2(std::int32_t row) {
  if (row < -1 || row > maxRow_) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid block row: %d.", row));
    return;
  }
  row2_ = row;
}

void CSpreadSheet::SetCol2(std::int32_t col) {
  if (col < -1 || col > maxCol_) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid block column: %d.", col));
    return;
  }
  col2_ = col;
}

template <typename Apply>
void CSpreadSheet::ForEachFormattedCell(Apply apply) {
  if (!blockMode_) {
    apply(CurrentCell());
    return;
  }
  const std::int32_t row2 = row2_ < 0 ? maxRow_ : row2_;
  const std::int32_t col2 = col2_ < 0 ? maxCol_ : col2_;
  const std::int32_t savedRow = row_;
  const std::int32_t savedCol = col_;
  for (std::int32_t r = std::min(savedRow, row2); r <= std::max(savedRow, row2); ++r) {
    for (std::int32_t c = std::min(savedCol, col2); c <= std::max(savedCol, col2); ++c) {
      row_ = r;
      col_ = c;
      apply(CurrentCell());
    }
  }
  row_ = savedRow;
  col_ = savedCol;
}

void CSpreadSheet::SetBlockFormat(std::int32_t format) {
  ForEachFormattedCell([format](Cell& cell) { cell.format = format; });
}

void CSpreadSheet::SetBlockColor(std::uint32_t color) {
  ForEachFormattedCell([color](Cell& cell) { cell.color = color & 0x00FFFFFFu; });
}

void CSpreadSheet::SetDecimals(std::int16_t decimals) {
  if (decimals < 0 || decimals > 15) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid decimals: %d.", decimals));
    return;
  }
  ForEachFormattedCell([decimals](Cell& cell) { cell.decimals = decimals; });
}

void CSpreadSheet::SetColHidden(bool hidden) { hiddenCols_[static_cast<std::size_t>(col_)] = hidden; }

bool CSpreadSheet::GetColHidden() const { return hiddenCols_[static_cast<std::size_t>(col_)]; }

std::int32_t CSpreadSheet::GetCellFormat() const {
  const Cell* cell = FindCell(col_, row_);
  return cell != nullptr ? cell->format : 0;
}

std::uint32_t CSpreadSheet::GetCellColor() const {
  const Cell* cell = FindCell(col_, row_);
  return cell != nullptr ? cell->color : Cell{}.color;
}

std::int16_t CSpreadSheet::GetDecimals() const {
  const Cell* cell = FindCell(col_, row_);
  return cell != nullptr ? cell->decimals : std::int16_t{-1};
}

std::int32_t CSpreadSheet::FindRow(std::int32_t col, const std::string& text) const {
  if (col < 0 || col > maxCol_) {
    ReportAssertion(0, kModule, __LINE__, KplFormat("Invalid column: %d.", col));
    return 0;
  }
  TextIndex& index = textIndex_[static_cast<std::size_t>(col)];
  if (!index.built) {
    index.firstRow.clear();
    for (std::int32_t r = 1; r <= maxRow_; ++r) {
      const Cell* cell = FindCell(col, r);
      if (cell != nullptr && cell->kind == CellKind::kText) index.firstRow.emplace(cell->text, r);
    }
    index.built = true;
  }
  const auto found = index.firstRow.find(text);
  return found != index.firstRow.end() ? found->second : 0;
}
