#include "KPLClassLibrary/KplGlobal.h"

#include <cmath>
#include <cstdio>
#include <mutex>
#include <vector>

#include "KPLClassLibrary/KPLRegistry.h"
#include "KPLPlatform/FileSystem.h"
#include "KPLPlatform/Locale.h"
#include "KPLPlatform/Process.h"
#include "KPLPlatform/Prompt.h"

namespace {

std::mutex& InterceptorMutex() {
  static std::mutex mutex;
  return mutex;
}

KplAssertionInterceptor& Interceptor() {
  static KplAssertionInterceptor interceptor;
  return interceptor;
}

void WriteLogEntry(const std::string& logPath, const std::string& timeStamp, const std::string& moduleName,
                   int lineNumber, const std::string& message) {
  namespace platform = kpl::platform;
  platform::BufferedFile log;
  if (!log.Open(logPath, platform::OpenMode{.read = false, .write = true, .create = true, .truncate = false})) {
    platform::Ask({KplFormat("Can't open assert log file: %s.", logPath.c_str()), platform::PromptButtons::kOk,
                   platform::PromptIcon::kNone, platform::PromptAnswer::kOk});
    return;
  }
  // Write errors are ignored: the report goes on without its log entry.
  (void)log.SeekToEnd();
  (void)log.Write(KplFormat("\n%s\n", timeStamp.c_str()));
  (void)log.Write(KplFormat("Version: %s\n", kKplProductVersion));
  (void)log.Write(KplFormat("Module Name: %s\n", moduleName.c_str()));
  (void)log.Write(KplFormat("Line Number: %d\n", lineNumber));
  (void)log.Write(KplFormat("Error Message: \n%s\n", message.c_str()));
  (void)log.Flush();
  log.Close();
}

void Report(const std::string& moduleName, int lineNumber, const std::string& message) {
  namespace platform = kpl::platform;
  KplAssertionInterceptor interceptor;
  {
    std::lock_guard lock(InterceptorMutex());
    interceptor = Interceptor();
  }
  // Called outside the lock: an interceptor may report in turn.
  if (interceptor && interceptor({moduleName, lineNumber, message})) return;

  std::string executablePath, logName;
  bool ignore = false;
  {
    KPLRegistry settings;
    settings.Open();
    settings.Load();
    executablePath = settings.strExecutablePath;
    logName = settings.strAssertLogFileName;
    ignore = settings.bIgnoreAssertErrors != 0;
    settings.Close();
  }

  auto locale = platform::CurrentLocale();
  const std::string timeStamp = locale->FormatTimeStamp(locale->Now());

  WriteLogEntry(executablePath + logName, timeStamp, moduleName, lineNumber, message);
  if (ignore) return;

  const std::string program = executablePath + kKplAssertProgramName;
  if (!platform::FileExists(program)) {
    platform::Ask({KplFormat("%s\n\r%s", "Can't find KPLAssert.", program.c_str()), platform::PromptButtons::kOk,
                   platform::PromptIcon::kExclamation, platform::PromptAnswer::kOk});
    return;
  }
  // The path is one argument of its own: a blank in it cannot start another program.
  auto result = platform::RunAndWait({program, kpl_detail::AssertArgument(timeStamp, moduleName, lineNumber, message)});
  if (!result.started) return;

  if (platform::Ask({"Do you want to abort?", platform::PromptButtons::kYesNo, platform::PromptIcon::kNone,
                     platform::PromptAnswer::kNo}) == platform::PromptAnswer::kYes) {
    platform::Abort();
  }
}

}  // namespace

namespace kpl_detail {
std::string AssertArgument(const std::string& timeStamp, const std::string& moduleName, int lineNumber,
                           const std::string& message) {
  return KplFormat("ASSERT;%s;%s;%s;%d;%s", timeStamp.c_str(), kKplProductVersion, moduleName.c_str(), lineNumber,
                   message.c_str());
}
}  // namespace kpl_detail

void ReportAssertion(int condition, const std::string& moduleName, int lineNumber,
                     const std::string& message) noexcept {
  if (condition != 0) return;
  try {
    Report(moduleName, lineNumber, message);
  } catch (...) {
    // A report never throws to its caller.
  }
}

KplAssertionInterceptor SetAssertionInterceptor(KplAssertionInterceptor interceptor) {
  std::lock_guard lock(InterceptorMutex());
  std::swap(Interceptor(), interceptor);
  return interceptor;
}

void RoundToDecimalPlaces(double* value, int places) {
  if (places < 0) {
    ReportAssertion(0, "KPLClassLibrary/KplGlobal", __LINE__, KplFormat("Invalid decimal places: %d.", places));
    return;
  }
  double half = 0.5;
  double scale = 1.0;
  for (int i = 0; i < places; ++i) {
    scale *= 10;
    half *= 0.1;
  }
  if (*value < 0) half = -half;
  // Truncation toward zero, as a 32-bit conversion would do in its range; the
  // double form keeps values beyond it (and many places) from overflowing.
  const double ip = std::trunc(*value);
  const double digits = std::trunc((*value - ip + half) * scale);
  *value = digits / scale + ip;
}

double RoundToDecimalPlaces(double value, int places) {
  RoundToDecimalPlaces(&value, places);
  return value;
}

std::string KplFormatV(const char* format, std::va_list args) {
  std::va_list copy;
  va_copy(copy, args);
  char small[256];
  int n = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) < sizeof small) return std::string(small, static_cast<std::size_t>(n));
  std::vector<char> big(static_cast<std::size_t>(n) + 1);
  std::vsnprintf(big.data(), big.size(), format, args);
  return std::string(big.data(), static_cast<std::size_t>(n));
}

std::string KplFormat(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string out = KplFormatV(format, args);
  va_end(args);
  return out;
}
