#include "KPLPredicted/CKPLComboBox.h"

std::int32_t CKPLComboBox::AddString(const std::string& text, std::int32_t itemData) {
  entries_.push_back({text, itemData});
  return GetCount() - 1;
}

std::int32_t CKPLComboBox::SelectItemData(std::int32_t itemData) {
  selection_ = -1;
  for (std::int32_t i = 0; i < GetCount(); ++i) {
    if (entries_[static_cast<std::size_t>(i)].itemData == itemData) {
      selection_ = i;
      break;
    }
  }
  return selection_;
}

std::int32_t CKPLComboBox::SelectString(const std::string& text) {
  selection_ = -1;
  for (std::int32_t i = 0; i < GetCount(); ++i) {
    if (entries_[static_cast<std::size_t>(i)].text == text) {
      selection_ = i;
      break;
    }
  }
  return selection_;
}

std::int32_t CKPLComboBox::GetSelectedData() const {
  return selection_ >= 0 ? entries_[static_cast<std::size_t>(selection_)].itemData : -1;
}

void CKPLComboBox::ResetContent() {
  entries_.clear();
  selection_ = -1;
}
