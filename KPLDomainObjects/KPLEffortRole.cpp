#include "KPLDomainObjects/KPLEffortRole.h"

void KPLEffortRole::Clear() {
  roleText.clear();
  roleCode = kRoleNone;
  KPLDomainObject::Clear();
}
