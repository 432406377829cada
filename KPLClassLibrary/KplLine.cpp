#include "KPLClassLibrary/KplLine.h"

#include <cerrno>
#include <cstdlib>

void KPLLine::SetLine(const std::string& text) {
  line = text;
  position = 0;
  tokenCount = 0;
}

void KPLLine::NextToken() {
  token.clear();
  delimiter = ' ';
  const auto size = static_cast<std::int32_t>(line.size());
  while (position < size && line[static_cast<std::size_t>(position)] == ' ') ++position;
  if (position < size) {
    const char c = line[static_cast<std::size_t>(position)];
    if (c == '\'' || c == '"' || c == '\xFE') {
      delimiter = c;
      ++position;
    }
  }
  while (position < size) {
    const char c = line[static_cast<std::size_t>(position++)];
    if (c == delimiter) break;
    token.push_back(c);
  }
  ++tokenCount;
}

void KPLLine::GetToken(std::string& out) {
  NextToken();
  out = token;
}

void KPLLine::TokenAsDouble(double& out) const {
  const char* begin = token.c_str();
  char* end = nullptr;
  const double value = std::strtod(begin, &end);
  out = end == begin ? 0.0 : value;
}

void KPLLine::TokenAsInt(std::int32_t& out) const {
  const char* begin = token.c_str();
  char* end = nullptr;
  const long value = std::strtol(begin, &end, 10);
  // Like "%d": the low 32 bits of what was read.
  out = end == begin ? 0 : static_cast<std::int32_t>(value);
}

void KPLLine::TokenAsShort(std::int16_t& out) const {
  std::int32_t value = 0;
  TokenAsInt(value);
  out = static_cast<std::int16_t>(value);
}
