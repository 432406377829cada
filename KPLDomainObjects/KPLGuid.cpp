#include "KPLDomainObjects/KPLGuid.h"

void KPLGuid::Set(std::string_view text) {
  if (text.empty()) {
    set_ = false;
    return;
  }
  text_.assign(text);
  for (char& c : text_) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  set_ = true;
}

std::string KPLGuid::Get() const { return set_ ? text_ : std::string(); }

void KPLGuid::Empty() {
  text_.clear();
  set_ = false;
}
