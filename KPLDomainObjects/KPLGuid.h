// KPLGuid: a GUID in its text form, held upper-cased, with a flag that says
// whether one has been given. Embedded in records as their identity.
#pragma once

#include <string>
#include <string_view>

class KPLGuid {
 public:
  KPLGuid() = default;

  // Stores a non-empty text upper-cased and sets the flag; an empty text
  // clears the flag and leaves the stored text as it was.
  void Set(std::string_view text);
  // The text when set, else the empty text.
  [[nodiscard]] std::string Get() const;
  // Empty text, flag cleared.
  void Empty();
  [[nodiscard]] bool IsSet() const { return set_; }

  // Texts equal byte for byte and flags equal.
  friend bool operator==(const KPLGuid&, const KPLGuid&) = default;

 private:
  std::string text_;
  bool set_ = false;
};
