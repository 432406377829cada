#include "support/ReportCapture.h"

namespace kpl::testing {

ReportCapture::ReportCapture() {
  previous_ = SetAssertionInterceptor([this](const KplAssertionReport& report) {
    std::lock_guard lock(mutex_);
    reports_.push_back(report);
    return true;
  });
}

ReportCapture::~ReportCapture() { SetAssertionInterceptor(std::move(previous_)); }

std::vector<KplAssertionReport> ReportCapture::Reports() const {
  std::lock_guard lock(mutex_);
  return reports_;
}

std::vector<std::string> ReportCapture::Messages() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  for (const auto& r : reports_) out.push_back(r.message);
  return out;
}

std::size_t ReportCapture::Count() const {
  std::lock_guard lock(mutex_);
  return reports_.size();
}

void ReportCapture::Clear() {
  std::lock_guard lock(mutex_);
  reports_.clear();
}

}  // namespace kpl::testing
