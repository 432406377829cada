#include "KPLPredicted/KplFormula.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <numbers>
#include <string_view>
#include <system_error>

namespace {

using Error = KplFormulaError;

// The most arguments one function call may have.
constexpr int kMaxArguments = 64;

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
constexpr bool IsNameChar(char c) { return IsNameStart(c) || IsDigit(c); }
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
constexpr char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// `name` equals `upper` (an upper-case name) without regard to case.
bool NameIs(std::string_view name, std::string_view upper) {
  if (name.size() != upper.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (Upper(name[i]) != upper[i]) return false;
  }
  return true;
}

// ---- Functions ----
// Each takes its arguments (already checked against the table's counts) and
// may set `error`; otherwise a NaN result counts as a domain error and an
// infinite one as an overflow.
using Function = double (*)(const double* args, int count, Error& error);

// Rounds (or truncates) to `digits` decimals; negative digits round to tens,
// hundreds and so on. A value one unit in the last place below a half (2.675
// held as 2.67499999...) is rounded as the decimal text reads.
double ToDigits(double x, double digits, bool truncate) {
  const double d = std::trunc(digits);
  if (d > 15) return x;
  if (d < -308) return 0.0;
  const double scale = std::pow(10.0, std::fabs(d));
  double y = d >= 0 ? x * scale : x / scale;
  y *= 1.0 + 4 * std::numeric_limits<double>::epsilon();
  y = truncate ? std::trunc(y) : std::round(y);
  return d >= 0 ? y / scale : y * scale;
}

double FnAbs(const double* a, int, Error&) { return std::fabs(a[0]); }
double FnExp(const double* a, int, Error&) { return std::exp(a[0]); }
double FnInt(const double* a, int, Error&) { return std::floor(a[0]); }
double FnLn(const double* a, int, Error&) { return a[0] > 0 ? std::log(a[0]) : NAN; }
double FnLog10(const double* a, int, Error&) { return a[0] > 0 ? std::log10(a[0]) : NAN; }
double FnSqrt(const double* a, int, Error&) { return a[0] >= 0 ? std::sqrt(a[0]) : NAN; }
double FnNot(const double* a, int, Error&) { return a[0] == 0 ? 1.0 : 0.0; }
double FnPi(const double*, int, Error&) { return std::numbers::pi; }
double FnSign(const double* a, int, Error&) { return a[0] > 0 ? 1.0 : (a[0] < 0 ? -1.0 : 0.0); }
double FnRound(const double* a, int n, Error&) { return ToDigits(a[0], n > 1 ? a[1] : 0.0, false); }
double FnTrunc(const double* a, int n, Error&) { return ToDigits(a[0], n > 1 ? a[1] : 0.0, true); }

double FnLog(const double* a, int n, Error& error) {
  const double base = n > 1 ? a[1] : 10.0;
  if (a[0] <= 0 || base <= 0) return NAN;
  if (base == 1) {
    error = Error::kDivisionByZero;
    return 0.0;
  }
  return n > 1 ? std::log(a[0]) / std::log(base) : std::log10(a[0]);
}

double FnPower(const double* a, int, Error& error) {
  if (a[0] == 0 && a[1] < 0) {
    error = Error::kDivisionByZero;
    return 0.0;
  }
  return std::pow(a[0], a[1]);
}

double FnMod(const double* a, int, Error& error) {
  if (a[1] == 0) {
    error = Error::kDivisionByZero;
    return 0.0;
  }
  // The result takes the sign of the divisor.
  return a[0] - a[1] * std::floor(a[0] / a[1]);
}

double FnMax(const double* a, int n, Error&) {
  double m = a[0];
  for (int i = 1; i < n; ++i) m = a[i] > m ? a[i] : m;
  return m;
}
double FnMin(const double* a, int n, Error&) {
  double m = a[0];
  for (int i = 1; i < n; ++i) m = a[i] < m ? a[i] : m;
  return m;
}
double FnSum(const double* a, int n, Error&) {
  double s = 0;
  for (int i = 0; i < n; ++i) s += a[i];
  return s;
}
double FnAnd(const double* a, int n, Error&) {
  for (int i = 0; i < n; ++i) {
    if (a[i] == 0) return 0.0;
  }
  return 1.0;
}
double FnOr(const double* a, int n, Error&) {
  for (int i = 0; i < n; ++i) {
    if (a[i] != 0) return 1.0;
  }
  return 0.0;
}

struct FunctionInfo {
  std::string_view name;  // upper case
  int minArgs;
  int maxArgs;
  Function function;  // null for IF, which the parser evaluates itself
};

// In alphabetical order.
constexpr FunctionInfo kFunctions[] = {
    {"ABS", 1, 1, FnAbs},       {"AND", 1, kMaxArguments, FnAnd}, {"EXP", 1, 1, FnExp},
    {"IF", 2, 3, nullptr},      {"INT", 1, 1, FnInt},             {"LN", 1, 1, FnLn},
    {"LOG", 1, 2, FnLog},       {"LOG10", 1, 1, FnLog10},         {"MAX", 1, kMaxArguments, FnMax},
    {"MIN", 1, kMaxArguments, FnMin}, {"MOD", 2, 2, FnMod},       {"NOT", 1, 1, FnNot},
    {"OR", 1, kMaxArguments, FnOr},   {"PI", 0, 0, FnPi},         {"POWER", 2, 2, FnPower},
    {"ROUND", 1, 2, FnRound},   {"SIGN", 1, 1, FnSign},           {"SQRT", 1, 1, FnSqrt},
    {"SUM", 1, kMaxArguments, FnSum}, {"TRUNC", 1, 2, FnTrunc},
};

const FunctionInfo* FindFunction(std::string_view name) {
  for (const FunctionInfo& f : kFunctions) {
    if (NameIs(name, f.name)) return &f;
  }
  return nullptr;
}

// The error texts, indexed by KplFormulaError.
constexpr const char* kErrorTexts[] = {
    /* kNone                  */ "",
    /* kEmpty                 */ "empty formula",
    /* kSyntax                */ "syntax error",
    /* kUnbalancedParentheses */ "unbalanced parentheses",
    /* kUnknownName           */ "unknown name",
    /* kArgumentCount         */ "wrong number of arguments",
    /* kTooDeep               */ "formula nested too deeply",
    /* kNumberOutOfRange      */ "number out of range",
    /* kDivisionByZero        */ "division by zero",
    /* kDomain                */ "argument out of range",
    /* kOverflow              */ "result too large",
};
static_assert(std::size(kErrorTexts) == static_cast<std::size_t>(Error::kOverflow) + 1);

// A recursive-descent parser that computes as it parses. Every parse step
// leaves the position on the next non-blank character.
//
//   formula    := ["="] comparison
//   comparison := additive (("=" | "<>" | "<" | ">" | "<=" | ">=") additive)*
//   additive   := term (("+" | "-") term)*
//   term       := power (("*" | "/") power)*
//   power      := unary ("^" unary)*
//   unary      := ("+" | "-")* primary
//   primary    := number | "(" comparison ")" | name "(" [comparison ("," comparison)*] ")" | name
//
// A fault in the structure stops the parse at once. A fault in the arithmetic
// (division by zero, LN of a negative) is noted and parsing goes on, except
// inside the branch of an IF that is not taken, where it does not count.
class Parser {
 public:
  explicit Parser(std::string_view text) : begin_(text.data()), p_(text.data()), end_(text.data() + text.size()) {}

  KplFormulaResult Run() {
    SkipBlanks();
    if (p_ < end_ && *p_ == '=') {
      ++p_;
      SkipBlanks();
    }
    if (p_ == end_) return {0.0, Error::kEmpty, 0, 0};
    const double value = Comparison();
    if (!failed_ && p_ != end_) Fail(*p_ == ')' ? Error::kUnbalancedParentheses : Error::kSyntax, p_, 1);
    if (error_ != Error::kNone) return {0.0, error_, position_, length_};
    return {value, Error::kNone, 0, 0};
  }

 private:
  void SkipBlanks() {
    while (p_ < end_ && IsBlank(*p_)) ++p_;
  }

  // A structural fault: ends the parse; it replaces an arithmetic one.
  void Fail(Error error, const char* at, std::size_t length) {
    if (failed_) return;
    failed_ = true;
    Set(error, at, length);
  }

  // An arithmetic fault: the first one counts, unless its branch is not taken.
  void Note(Error error, const char* at, std::size_t length) {
    if (suppress_ > 0 || error_ != Error::kNone) return;
    Set(error, at, length);
  }

  void Set(Error error, const char* at, std::size_t length) {
    error_ = error;
    position_ = static_cast<std::size_t>(at - begin_);
    length_ = length;
  }

  double Checked(double value, const char* at, std::size_t length) {
    if (!std::isfinite(value)) Note(std::isnan(value) ? Error::kDomain : Error::kOverflow, at, length);
    return value;
  }

  double Comparison() {
    double left = Additive();
    while (!failed_ && p_ < end_) {
      const char* op = p_;
      std::size_t length = 1;
      if (*p_ == '<') {
        if (p_ + 1 < end_ && (p_[1] == '>' || p_[1] == '=')) length = 2;
      } else if (*p_ == '>') {
        if (p_ + 1 < end_ && p_[1] == '=') length = 2;
      } else if (*p_ != '=') {
        break;
      }
      p_ += length;
      const double right = Additive();
      bool result = false;
      if (op[0] == '=') {
        result = left == right;
      } else if (op[0] == '<') {
        result = length == 1 ? left < right : (op[1] == '>' ? left != right : left <= right);
      } else {
        result = length == 1 ? left > right : left >= right;
      }
      left = result ? 1.0 : 0.0;
    }
    return left;
  }

  double Additive() {
    double left = Term();
    while (!failed_ && p_ < end_ && (*p_ == '+' || *p_ == '-')) {
      const char* op = p_++;
      const double right = Term();
      left = Checked(*op == '+' ? left + right : left - right, op, 1);
    }
    return left;
  }

  double Term() {
    double left = Power();
    while (!failed_ && p_ < end_ && (*p_ == '*' || *p_ == '/')) {
      const char* op = p_++;
      const double right = Power();
      if (*op == '*') {
        left = Checked(left * right, op, 1);
      } else if (right == 0) {
        Note(Error::kDivisionByZero, op, 1);
        left = NAN;
      } else {
        left = Checked(left / right, op, 1);
      }
    }
    return left;
  }

  double Power() {
    double left = Unary();
    while (!failed_ && p_ < end_ && *p_ == '^') {
      const char* op = p_++;
      const double right = Unary();
      if (left == 0 && right < 0) {
        Note(Error::kDivisionByZero, op, 1);
        left = NAN;
      } else {
        left = Checked(std::pow(left, right), op, 1);
      }
    }
    return left;
  }

  // Signs are counted, not recursed into, so a long run of them is harmless.
  double Unary() {
    bool negate = false;
    SkipBlanks();
    while (p_ < end_ && (*p_ == '-' || *p_ == '+')) {
      if (*p_ == '-') negate = !negate;
      ++p_;
      SkipBlanks();
    }
    const double value = Primary();
    return negate ? -value : value;
  }

  double Primary() {
    SkipBlanks();
    if (p_ == end_) {
      Fail(Error::kSyntax, p_, 0);
      return 0.0;
    }
    const char c = *p_;
    double value = 0.0;
    if (IsDigit(c) || (c == '.' && p_ + 1 < end_ && IsDigit(p_[1]))) {
      value = Number();
    } else if (c == '(') {
      const char* open = p_++;
      if (!Enter(open)) return 0.0;
      value = Comparison();
      if (failed_) return 0.0;
      if (p_ == end_) {
        Fail(Error::kUnbalancedParentheses, open, 1);
        return 0.0;
      }
      if (*p_ != ')') {
        Fail(Error::kSyntax, p_, 1);
        return 0.0;
      }
      ++p_;
      --depth_;
    } else if (IsNameStart(c)) {
      const char* name = p_;
      while (p_ < end_ && IsNameChar(*p_)) ++p_;
      const std::string_view text(name, static_cast<std::size_t>(p_ - name));
      SkipBlanks();
      if (p_ < end_ && *p_ == '(') {
        const FunctionInfo* function = FindFunction(text);
        if (function == nullptr) {
          Fail(Error::kUnknownName, name, text.size());
          return 0.0;
        }
        return Call(*function, text);
      }
      if (NameIs(text, "TRUE")) {
        value = 1.0;
      } else if (NameIs(text, "FALSE")) {
        value = 0.0;
      } else {
        Fail(Error::kUnknownName, name, text.size());
        return 0.0;
      }
    } else {
      Fail(Error::kSyntax, p_, 1);
      return 0.0;
    }
    SkipBlanks();
    return value;
  }

  // Plain decimals (what "%f" and the stored coefficients write) whose digits
  // fit in 53 bits are exact as digits / 10^k, one correctly rounded
  // division; anything else goes to from_chars.
  bool PlainDecimal(double& value) {
    static constexpr double kPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* q = p_;
    std::uint64_t digits = 0;
    int count = 0;
    int decimals = 0;
    for (; q < end_ && IsDigit(*q); ++q) {
      if (++count > 19) return false;
      digits = digits * 10 + static_cast<std::uint64_t>(*q - '0');
    }
    if (q < end_ && *q == '.') {
      for (++q; q < end_ && IsDigit(*q); ++q, ++decimals) {
        if (++count > 19) return false;
        digits = digits * 10 + static_cast<std::uint64_t>(*q - '0');
      }
    }
    if (q < end_ && (*q == 'e' || *q == 'E')) return false;
    if (digits > (std::uint64_t{1} << 53) || decimals >= static_cast<int>(std::size(kPowersOf10))) return false;
    value = static_cast<double>(digits) / kPowersOf10[decimals];
    p_ = q;
    return true;
  }

  double Number() {
    double value = 0.0;
    if (!PlainDecimal(value)) {
      const auto [next, status] = std::from_chars(p_, end_, value, std::chars_format::general);
      if (status != std::errc()) {
        Fail(Error::kNumberOutOfRange, p_, static_cast<std::size_t>(next - p_));
        return 0.0;
      }
      p_ = next;
    }
    // "1.2.3", "2AGE" and "1E" are not numbers.
    if (p_ < end_ && (*p_ == '.' || IsNameChar(*p_))) {
      Fail(Error::kSyntax, p_, 1);
      return 0.0;
    }
    return value;
  }

  bool Enter(const char* open) {
    if (++depth_ > kKplFormulaMaxDepth) {
      Fail(Error::kTooDeep, open, 1);
      return false;
    }
    return true;
  }

  // At the "(" after a function's name.
  double Call(const FunctionInfo& function, std::string_view name) {
    const char* open = p_++;
    if (!Enter(open)) return 0.0;
    const bool isIf = function.function == nullptr;
    double args[kMaxArguments];
    int count = 0;
    SkipBlanks();
    if (p_ < end_ && *p_ == ')') {
      ++p_;
    } else {
      for (;;) {
        // The branch of an IF that is not taken does not report arithmetic faults.
        const bool skip = isIf && count >= 1 && count <= 2 && ((count == 1) == (args[0] == 0));
        if (skip) ++suppress_;
        const double value = Comparison();
        if (skip) --suppress_;
        if (failed_) return 0.0;
        if (count == kMaxArguments) {
          Fail(Error::kArgumentCount, name.data(), name.size());
          return 0.0;
        }
        args[count++] = value;
        if (p_ == end_) {
          Fail(Error::kUnbalancedParentheses, open, 1);
          return 0.0;
        }
        if (*p_ == ')') {
          ++p_;
          break;
        }
        if (*p_ != ',') {
          Fail(Error::kSyntax, p_, 1);
          return 0.0;
        }
        ++p_;
      }
    }
    --depth_;
    SkipBlanks();
    if (count < function.minArgs || count > function.maxArgs) {
      Fail(Error::kArgumentCount, name.data(), name.size());
      return 0.0;
    }
    if (isIf) return args[0] != 0 ? args[1] : (count > 2 ? args[2] : 0.0);
    Error error = Error::kNone;
    const double value = function.function(args, count, error);
    if (error != Error::kNone) {
      Note(error, name.data(), name.size());
      return NAN;
    }
    return Checked(value, name.data(), name.size());
  }

  const char* begin_;
  const char* p_;
  const char* end_;
  int depth_ = 0;
  int suppress_ = 0;
  bool failed_ = false;
  Error error_ = Error::kNone;
  std::size_t position_ = 0;
  std::size_t length_ = 0;
};

}  // namespace

KplFormulaResult EvaluateFormula(std::string_view text) noexcept { return Parser(text).Run(); }

const char* FormulaErrorText(KplFormulaError error) noexcept {
  const auto index = static_cast<std::size_t>(error);
  return index < std::size(kErrorTexts) ? kErrorTexts[index] : "unknown error";
}

std::string DescribeFormulaError(const KplFormulaResult& result, std::string_view text) {
  if (result.ok()) return {};
  std::string message = FormulaErrorText(result.error);
  if (result.error == KplFormulaError::kEmpty) return message;
  if (result.length == 0 || result.position >= text.size()) return message + " at the end of the formula";
  message += " at offset " + std::to_string(result.position) + ": ";
  // At most 40 characters of the text, control characters shown as "?".
  const std::string_view part = text.substr(result.position, result.length < 40 ? result.length : 40);
  for (char c : part) message += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? '?' : c;
  if (result.length > 40) message += "...";
  return message;
}

std::string FormulaFunctionNames() {
  std::string names;
  for (const FunctionInfo& f : kFunctions) {
    if (!names.empty()) names += ", ";
    names += f.name;
  }
  return names;
}
