// KPLVisitEvent: something that happened during a visit, at a time. An event
// of type 1 starts the protocol stage its label names; any other event moves
// the reference time of the stage assignment.
#pragma once

#include <cstdint>
#include <string>

#include "KPLClassLibrary/KplDateTimeValue.h"
#include "KPLDomainObjects/KPLDomainObject.h"

class KPLVisitEvent : public KPLDomainObject {
 public:
  // Values of type.
  enum Type : std::int32_t { kOther = 0, kStageStart = 1 };

  KPLVisitEvent() { KPLVisitEvent::Clear(); }

  void Clear() override;

  std::string label;  // the stage label the event refers to
  KPLDateTimeValue time;
  std::int32_t type = kOther;
};
