// KPLAssert: receives one error report from the library and shows it.
//
// Usage: KPLAssert "ASSERT;<time stamp>;<version>;<module>;<line>;<message>"
// (the message is the rest of the argument and may hold semicolons and line
// breaks). Writes the report readably to standard error and to the system log,
// then exits 0.
#include <syslog.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
  std::string report;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) report += ' ';
    report += argv[i];
  }
  // Split the five fixed fields; the message keeps any further semicolons.
  std::vector<std::string> fields;
  std::string_view rest = report;
  for (int i = 0; i < 5; ++i) {
    auto semi = rest.find(';');
    if (semi == std::string_view::npos) break;
    fields.emplace_back(rest.substr(0, semi));
    rest.remove_prefix(semi + 1);
  }
  if (fields.size() != 5 || fields[0] != "ASSERT") {
    std::fprintf(stderr, "KPLAssert: unrecognised report: %s\n", report.c_str());
    return 0;
  }
  const std::string message(rest);
  std::fprintf(stderr,
               "KPLAssert: error report\n"
               "  Time:    %s\n  Version: %s\n  Module:  %s\n  Line:    %s\n  Message: %s\n",
               fields[1].c_str(), fields[2].c_str(), fields[3].c_str(), fields[4].c_str(), message.c_str());
  openlog("KPLAssert", LOG_PID, LOG_USER);
  syslog(LOG_ERR, "%s line %s (version %s): %s", fields[3].c_str(), fields[4].c_str(), fields[2].c_str(),
         message.c_str());
  closelog();
  return 0;
}
