#include "KPLDomainObjects/KPLTestType.h"

#include <algorithm>
#include <iterator>

namespace {

struct TestTypeRow {
  std::int32_t code;
  bool hasCollection;
  int stringId;  // 0: no display name
  std::string_view displayName;
};

// Every accepted code. Codes missing here (6, 7, 14, 24, negative, above 27)
// are invalid.
constexpr TestTypeRow kTestTypes[] = {
    {0, false, 0, ""},           {1, true, 20, "FVC"},       {2, true, 21, "MVV"},
    {3, true, 22, "SVC"},        {4, true, 23, "DLCO"},      {5, true, 24, "FRC (N2)"},
    {8, true, 19, "ABG"},        {9, true, 25, "MIP/MEP"},   {10, true, 29, "Static"},
    {11, true, 28, "Dynamic"},   {12, true, 26, "SBN2"},     {13, false, 0, ""},
    {15, false, 0, ""},          {16, true, 27, "Pleth"},    {17, false, 0, ""},
    {18, false, 0, ""},          {19, false, 0, ""},         {20, true, 30, "P100"},
    {21, true, 31, "Delta CO2"}, {22, true, 0, ""},          {23, true, 0, ""},
    {25, true, 32, "FOT"},       {26, false, 0, ""},         {27, true, 0, ""},
};

const TestTypeRow* Find(std::int32_t testType) {
  const auto* found = std::find_if(std::begin(kTestTypes), std::end(kTestTypes),
                                   [testType](const TestTypeRow& row) { return row.code == testType; });
  return found == std::end(kTestTypes) ? nullptr : found;
}

}  // namespace

bool KPLTestType::IsValid(std::int32_t testType) { return Find(testType) != nullptr; }

bool KPLTestType::HasCollection(std::int32_t testType) {
  const TestTypeRow* row = Find(testType);
  return row != nullptr && row->hasCollection;
}

std::string_view KPLTestType::DisplayName(std::int32_t testType) {
  const TestTypeRow* row = Find(testType);
  return row != nullptr ? row->displayName : std::string_view();
}

int KPLTestType::StringId(std::int32_t testType) {
  const TestTypeRow* row = Find(testType);
  return row != nullptr ? row->stringId : 0;
}
