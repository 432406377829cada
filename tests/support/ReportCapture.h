// Test support: records the reports raised while it lives, so tests can check
// the module, line and message a failure reports without a log or a program.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "KPLClassLibrary/KplGlobal.h"

namespace kpl::testing {

class ReportCapture {
 public:
  ReportCapture();
  ~ReportCapture();
  ReportCapture(const ReportCapture&) = delete;
  ReportCapture& operator=(const ReportCapture&) = delete;

  [[nodiscard]] std::vector<KplAssertionReport> Reports() const;
  // The messages in order.
  [[nodiscard]] std::vector<std::string> Messages() const;
  [[nodiscard]] std::size_t Count() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<KplAssertionReport> reports_;
  KplAssertionInterceptor previous_;
};

}  // namespace kpl::testing
