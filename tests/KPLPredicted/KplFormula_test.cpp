#include "KPLPredicted/KplFormula.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

using Error = KplFormulaError;

TEST(KplFormulaTest, EvaluatesNumbersOperatorsAndFunctions) {
  struct Case {
    const char* label;
    const char* text;
    double expected;
  } cases[] = {
      {"integer", "42", 42},
      {"decimal", "3.25", 3.25},
      {"leading point", ".5", 0.5},
      {"exponent", "1.5E3", 1500},
      {"lower-case negative exponent", "2e-3", 0.002},
      {"signed exponent", "2.5E+2", 250},
      {"blanks and tabs", "  1 +\t2 ", 3},
      {"one leading =", "=1+2", 3},
      {"* before +", "1+2*3", 7},
      {"- is left-associative", "10-4-3", 3},
      {"/ is left-associative", "8/4/2", 1},
      {"unary minus binds tighter than ^", "-2^2", 4},
      {"^ is left-associative", "2^3^2", 64},
      {"negative exponent", "2^-2", 0.25},
      {"binary minus before ^", "1-2^2", -3},
      {"minus minus", "1--1", 2},
      {"unary plus", "+3", 3},
      {"parentheses", "(1+2)*3", 9},
      {"<", "1<2", 1},
      {"< false", "2<1", 0},
      {"<=", "2<=2", 1},
      {">= false", "3>=4", 0},
      {">", "3>2", 1},
      {"=", "1=1", 1},
      {"<> false", "1<>1", 0},
      {"<>", "1<>2", 1},
      {"comparison binds loosest", "1+1=2", 1},
      {"EXP", "EXP(1)", std::numbers::e},
      {"LN", "LN(EXP(2))", 2},
      {"LOG is base 10", "LOG(1000)", 3},
      {"LOG with a base", "LOG(8,2)", 3},
      {"LOG10", "LOG10(0.01)", -2},
      {"SQRT", "SQRT(16)", 4},
      {"ABS", "ABS(-2.5)", 2.5},
      {"POWER", "POWER(2,10)", 1024},
      {"MIN of three", "MIN(3,1,2)", 1},
      {"MAX of three", "MAX(3, 1, 2)", 3},
      {"IF true", "IF(1,2,3)", 2},
      {"IF false", "IF(0,2,3)", 3},
      {"IF false without else", "IF(0,2)", 0},
      {"IF on a comparison", "IF(45>40,1,2)", 1},
      {"INT rounds down", "INT(-2.5)", -3},
      {"INT of positive", "INT(2.7)", 2},
      {"ROUND as the decimal text reads", "ROUND(2.675,2)", 2.68},
      {"ROUND half away from zero", "ROUND(-1.5,0)", -2},
      {"ROUND to hundreds", "ROUND(1234,-2)", 1200},
      {"ROUND without digits", "ROUND(2.5)", 3},
      {"TRUNC toward zero", "TRUNC(-2.7)", -2},
      {"MOD takes the divisor's sign", "MOD(-3,2)", 1},
      {"SIGN", "SIGN(-4)", -1},
      {"PI", "PI()", std::numbers::pi},
      {"SUM", "SUM(1,2,3)", 6},
      {"AND", "AND(1,0)", 0},
      {"OR", "OR(0,2)", 1},
      {"NOT", "NOT(0)", 1},
      {"TRUE", "TRUE+1", 2},
      {"names without regard to case", "exp(0)+Ln(1)+sQrt(4)", 3},
      {"untaken else may fail", "IF(1,5,1/0)", 5},
      {"untaken then may fail", "IF(0,LN(-1),7)", 7},
      // The calculator's wrapping of =0.0443*HEIGHTCM-0.026*AGE-2.89 for 170 cm, 45 y.
      {"calculator formula", "((0.0443*170.000000-0.026*45.000000-2.89) *1.00) *1.0", 3.471},
      {"calculator formula, negative zero", "((-0.000000+1) *1.00) *1.0", 1},
  };
  for (const Case& c : cases) {
    const KplFormulaResult r = EvaluateFormula(c.text);
    EXPECT_EQ(r.error, Error::kNone) << c.label << ": " << DescribeFormulaError(r, c.text);
    EXPECT_NEAR(r.value, c.expected, 1e-12 * std::max(1.0, std::fabs(c.expected))) << c.label;
  }
}

TEST(KplFormulaTest, NumbersReadAsTheStandardConversionReadsThem) {
  std::vector<std::string> texts = {"0.000000", "175.000000", "0.1", ".5", "5.", "9007199254740993",
                                    "9007199254740992.5", "1234567890123456789", "12345678901234567890.5",
                                    "0.0000000000000000000001", "0.00000000000000000000001", "1e22", "1.5E-7"};
  std::mt19937 random(7);
  for (int i = 0; i < 20000; ++i) {
    std::string text = std::to_string(random() % 100000000);
    const int decimals = static_cast<int>(random() % 12);
    if (decimals > 0) text += "." + std::to_string(random() % 1000000000000ull).substr(0, decimals);
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    double expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    const KplFormulaResult r = EvaluateFormula(text);
    ASSERT_TRUE(r.ok()) << text;
    ASSERT_EQ(r.value, expected) << text;  // the same double, to the last bit
  }
}

TEST(KplFormulaTest, GliEquationMatchesDirectComputation) {
  // FEV1, male, Caucasian, 175 cm, 45 y, with the spline texts of that age.
  const char* text =
      "EXP(-10.342+2.2196*LN(175.000000)+0.0574*LN(45.000000)-0.1589*0-0.0351*0-0.0881*0-0.0708*0+0.012345)";
  const double direct = std::exp(-10.342 + 2.2196 * std::log(175.0) + 0.0574 * std::log(45.0) + 0.012345);
  const KplFormulaResult r = EvaluateFormula(text);
  ASSERT_TRUE(r.ok()) << DescribeFormulaError(r, text);
  EXPECT_NEAR(r.value, direct, 1e-13 * direct);
}

TEST(KplFormulaTest, RejectsBadTextsWithTheFaultAndItsPlace) {
  constexpr std::size_t kEnd = 0;  // length 0: at the end of the text
  struct Case {
    const char* label;
    const char* text;
    Error error;
    std::size_t position;
    std::size_t length;
  } cases[] = {
      {"empty", "", Error::kEmpty, 0, kEnd},
      {"blanks only", "  \t", Error::kEmpty, 0, kEnd},
      {"= alone", "=", Error::kEmpty, 0, kEnd},
      {"empty equation, wrapped", "(() *1.00) *1.0", Error::kSyntax, 2, 1},
      {"missing operand at end", "1+", Error::kSyntax, 2, kEnd},
      {"( never closed", "(1+2", Error::kUnbalancedParentheses, 0, 1},
      {") never opened", "1+2)", Error::kUnbalancedParentheses, 3, 1},
      {"call never closed", "MAX(1,2", Error::kUnbalancedParentheses, 3, 1},
      {"two numbers", "1 2", Error::kSyntax, 2, 1},
      {"two points", "1.2.3", Error::kSyntax, 3, 1},
      {"number glued to a name", "2AGE", Error::kSyntax, 1, 1},
      {"exponent without digits", "1E", Error::kSyntax, 1, 1},
      {"stray character", "1+#", Error::kSyntax, 2, 1},
      {"semicolon", "1;2", Error::kSyntax, 1, 1},
      {"empty argument", "MAX(1,)", Error::kSyntax, 6, 1},
      {"leftover token", "2*HEIGHTCM", Error::kUnknownName, 2, 8},
      {"unknown function", "FOO(1)", Error::kUnknownName, 0, 3},
      {"too many arguments", "SQRT(1,2)", Error::kArgumentCount, 0, 4},
      {"too few arguments", "POWER(2)", Error::kArgumentCount, 0, 5},
      {"no arguments", "MAX()", Error::kArgumentCount, 0, 3},
      {"IF with four", "IF(1,2,3,4)", Error::kArgumentCount, 0, 2},
      {"division by zero", "1/0", Error::kDivisionByZero, 1, 1},
      {"zero to a negative power", "0^-1", Error::kDivisionByZero, 1, 1},
      {"MOD by zero", "MOD(1,0)", Error::kDivisionByZero, 0, 3},
      {"LN of a negative", "LN(-1)", Error::kDomain, 0, 2},
      {"LN of zero", "2+LN(0)", Error::kDomain, 2, 2},
      {"SQRT of a negative", "SQRT(-4)", Error::kDomain, 0, 4},
      {"root of a negative", "(-8)^(1/3)", Error::kDomain, 4, 1},
      {"overflow", "EXP(1000)", Error::kOverflow, 0, 3},
      {"overflow in a product", "1E300*1E300", Error::kOverflow, 5, 1},
      {"number too large", "1E999", Error::kNumberOutOfRange, 0, 5},
      {"taken branch fails", "IF(1,1/0,2)", Error::kDivisionByZero, 6, 1},
      {"first arithmetic fault counts", "LN(-1)+1/0", Error::kDomain, 0, 2},
      {"structure beats arithmetic", "1/0+(", Error::kSyntax, 5, kEnd},
  };
  for (const Case& c : cases) {
    const KplFormulaResult r = EvaluateFormula(c.text);
    EXPECT_EQ(r.error, c.error) << c.label << ": " << DescribeFormulaError(r, c.text);
    EXPECT_EQ(r.value, 0.0) << c.label;
    if (c.error != Error::kEmpty) {
      EXPECT_EQ(r.position, c.position) << c.label;
      EXPECT_EQ(r.length, c.length) << c.label;
    }
  }
}

TEST(KplFormulaTest, DescribesErrorsForDisplay) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"1+1", ""},
      {"", "empty formula"},
      {"2*HEIGHTCM", "unknown name at offset 2: HEIGHTCM"},
      {"1+", "syntax error at the end of the formula"},
      {"1+\x01", "syntax error at offset 2: ?"},
      {"1/0", "division by zero at offset 1: /"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DescribeFormulaError(EvaluateFormula(c.text), c.text), c.expected) << c.text;
  }
}

TEST(KplFormulaTest, DeepAndLongTextsNeitherOverflowTheStackNorFail) {
  const std::string tooDeep = std::string(10000, '(') + "1" + std::string(10000, ')');
  EXPECT_EQ(EvaluateFormula(tooDeep).error, Error::kTooDeep);
  const std::string unclosed(10000, '(');
  EXPECT_EQ(EvaluateFormula(unclosed).error, Error::kTooDeep);
  std::string calls;
  for (int i = 0; i < 10000; ++i) calls += "ABS(";
  EXPECT_EQ(EvaluateFormula(calls + "1").error, Error::kTooDeep);

  const int depth = kKplFormulaMaxDepth;
  const std::string deepest = std::string(depth, '(') + "1" + std::string(depth, ')');
  EXPECT_EQ(EvaluateFormula(deepest).value, 1);
  const std::string oneTooDeep = "(" + deepest + ")";
  EXPECT_EQ(EvaluateFormula(oneTooDeep).error, Error::kTooDeep);

  // Signs and operator chains are loops, not recursion.
  EXPECT_EQ(EvaluateFormula(std::string(10000, '-') + "1").value, 1);
  EXPECT_EQ(EvaluateFormula(std::string(10001, '-') + "1").value, -1);
  std::string sum;
  for (int i = 0; i < 50000; ++i) sum += "1+";
  sum += "1";
  ASSERT_GT(sum.size(), 100000u);
  EXPECT_EQ(EvaluateFormula(sum).value, 50001);
}

}  // namespace
