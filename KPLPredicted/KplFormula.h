// KplFormula: the formula language of the spreadsheet grid, parsed and
// evaluated in one pass.
//
// The calculators write reference equations with every token already replaced
// by a number, so a formula is arithmetic on numbers: + - * / ^, comparisons
// (= <> < > <= >=, giving 1 or 0), parentheses and a few functions, with a
// spreadsheet's precedence (unary minus binds tighter than ^, ^ is left-
// associative). Names are matched without regard to case; one leading "=" is
// allowed. Evaluation never throws and never recurses without bound; a formula
// that does not parse or whose value is not a finite number gives an error
// and the value 0.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Why a formula has no value.
enum class KplFormulaError {
  kNone,
  kEmpty,                  // nothing but blanks
  kSyntax,                 // an unexpected character or token
  kUnbalancedParentheses,  // a "(" without ")" or the reverse
  kUnknownName,            // a name that is neither a constant nor a function
  kArgumentCount,          // a function called with too few or too many arguments
  kTooDeep,                // parentheses nested beyond kKplFormulaMaxDepth
  kNumberOutOfRange,       // a number literal beyond the range of a double
  kDivisionByZero,         // x/0, or 0 raised to a negative power
  kDomain,                 // LN or SQRT of a negative number and the like
  kOverflow,               // a result too large for a double
};

// How deeply parentheses and function calls may nest.
inline constexpr int kKplFormulaMaxDepth = 256;

// The outcome of one evaluation. `position` and `length` mark the part of the
// text that caused the error (length 0: the end of the text).
struct KplFormulaResult {
  double value = 0.0;  // 0 unless error is kNone
  KplFormulaError error = KplFormulaError::kNone;
  std::size_t position = 0;
  std::size_t length = 0;

  [[nodiscard]] bool ok() const { return error == KplFormulaError::kNone; }
};

// Parses and evaluates `text`.
[[nodiscard]] KplFormulaResult EvaluateFormula(std::string_view text) noexcept;

// The short text of an error code ("division by zero"); "" for kNone.
[[nodiscard]] const char* FormulaErrorText(KplFormulaError error) noexcept;

// A message for display: the error's text, where it is and the text there
// ("unknown name HEIGHTCM at offset 12"); "" when the result has no error.
[[nodiscard]] std::string DescribeFormulaError(const KplFormulaResult& result, std::string_view text);

// The names of the functions, in alphabetical order, for help texts.
[[nodiscard]] std::string FormulaFunctionNames();
