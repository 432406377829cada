// KPLValidationResult: where Validate says which item failed and why.
//
// Owned by the caller of Validate; the domain objects write only these two
// fields.
#pragma once

#include <cstdint>

class KPLValidationResult {
 public:
  // Why an object failed.
  enum ErrorCode : std::int32_t {
    kNone = 0,
    kEmptyAuthorName = 1,
    kEmptyStageLabel = 2,
    kDuplicateEquation = 3,
  };

  std::int32_t itemIndex = 0;  // first failing item within the collection validated
  std::int32_t errorCode = kNone;
};
