// CKPLComboBox: the sex and race choosers of the calculators, without a window.
//
// Entries are a text and a 32-bit item data; the calculators select an entry
// by its data and read the data of the selection back, so a box without a
// selection reads as -1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CKPLComboBox {
 public:
  // Adds an entry at the end; answers its index.
  std::int32_t AddString(const std::string& text, std::int32_t itemData);
  // Selects the first entry whose data is `itemData`; clears the selection and
  // answers -1 when there is none.
  std::int32_t SelectItemData(std::int32_t itemData);
  // Selects the first entry whose text equals `text` (case-sensitive); clears
  // the selection and answers -1 when there is none.
  std::int32_t SelectString(const std::string& text);
  // The selected index, -1 when none.
  [[nodiscard]] std::int32_t GetCurSel() const { return selection_; }
  // The data of the selected entry, -1 when none.
  [[nodiscard]] std::int32_t GetSelectedData() const;
  [[nodiscard]] std::int32_t GetCount() const { return static_cast<std::int32_t>(entries_.size()); }
  void ResetContent();

 private:
  struct Entry {
    std::string text;
    std::int32_t itemData;
  };
  std::vector<Entry> entries_;
  std::int32_t selection_ = -1;
};
