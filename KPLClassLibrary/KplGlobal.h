// The library's one error-report routine and its decimal rounding.
//
// Every layer reports a programming error or invalid argument with
// ReportAssertion(0, module, line, message) and then returns its own failure
// value: a report is a side effect, never a control transfer. The module name
// is "Folder/File" of the reporting source ("KPLClassLibrary/KplWeight").
#pragma once

#include <cstdarg>
#include <functional>
#include <string>

// The product version written into every report.
inline constexpr const char* kKplProductVersion = "8.1";
// The report program's file name inside the executable folder.
inline constexpr const char* kKplAssertProgramName = "KPLAssert";

// Reports when `condition` is 0: writes an entry to the assertion log, starts
// the report program and waits for it, then asks whether to abort the process.
// A non-zero condition returns at once. Never throws.
void ReportAssertion(int condition, const std::string& moduleName, int lineNumber,
                     const std::string& message) noexcept;

// Rounds half away from zero to `places` decimals, in place or by value. A
// negative `places` is reported and leaves the value unchanged. (The in-place
// form takes a pointer: a reference overload could not be told apart.)
void RoundToDecimalPlaces(double* value, int places);
[[nodiscard]] double RoundToDecimalPlaces(double value, int places);

// printf-style formatting into a text, for report messages and fixed formats.
[[nodiscard]] std::string KplFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
[[nodiscard]] std::string KplFormatV(const char* format, std::va_list args);

// Reports with the calling source line.
#define KPL_REPORT(module, message) ::ReportAssertion(0, (module), __LINE__, (message))

// The parts of one report, as handed to an interceptor.
struct KplAssertionReport {
  std::string moduleName;
  int lineNumber = 0;
  std::string message;
};

// Tests and embedding hosts may take reports before the log and the report
// program see them: an interceptor that answers true has handled the report.
using KplAssertionInterceptor = std::function<bool(const KplAssertionReport&)>;
// Installs `interceptor` (empty to remove) and returns the previous one.
KplAssertionInterceptor SetAssertionInterceptor(KplAssertionInterceptor interceptor);

// End of public API. Implementation details follow.
namespace kpl_detail {
// The report program's argument vector: its path, then one argument
// "ASSERT;<time stamp>;<version>;<module>;<line>;<message>".
std::string AssertArgument(const std::string& timeStamp, const std::string& moduleName, int lineNumber,
                           const std::string& message);
}  // namespace kpl_detail
