#include "KPLDomainObjects/KPLVisitEvent.h"

void KPLVisitEvent::Clear() {
  label.clear();
  time = KPLDateTimeValue();
  type = kOther;
  KPLDomainObject::Clear();
}
