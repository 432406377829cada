// KPLLine: a tokenizer over one line of text. Tokens are separated by blanks;
// a token may be quoted with an apostrophe, a double quotation mark or the
// byte 0xFE, and then runs to the matching character.
#pragma once

#include <cstdint>
#include <string>

class KPLLine {
 public:
  KPLLine() = default;

  // Takes a new line; position and token count start again.
  void SetLine(const std::string& text);
  // Reads the next token into the current token.
  void NextToken();
  // NextToken, then out = the token.
  void GetToken(std::string& out);
  // The current token as "%lf", "%d" and "%d" truncated to 16 bits; 0 when it
  // is empty or does not start with a number.
  void TokenAsDouble(double& out) const;
  void TokenAsInt(std::int32_t& out) const;
  void TokenAsShort(std::int16_t& out) const;

  [[nodiscard]] const std::string& Line() const { return line; }
  [[nodiscard]] const std::string& Token() const { return token; }
  [[nodiscard]] std::int32_t TokenCount() const { return tokenCount; }
  [[nodiscard]] std::int32_t Position() const { return position; }
  [[nodiscard]] char Delimiter() const { return delimiter; }

 private:
  char delimiter = ' ';        // blank, or the quote character of the current token
  std::int32_t position = 0;   // index of the next character of the line
  std::int32_t tokenCount = 0;
  std::string line;
  std::string token;
};
