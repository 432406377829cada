#include "KPLDomainObjects/KPLDomainObject.h"

void KPLDomainObject::Clear() {
  modified_ = false;
  loaded_ = false;
}

bool KPLDomainObject::Validate(KPLValidationResult* /*result*/) const { return true; }

bool KPLDomainObject::IsModified() const { return modified_; }

void KPLDomainObject::SetModified(bool modified) { modified_ = modified; }

bool KPLDomainObject::IsLoaded() const { return loaded_; }

void KPLDomainObject::SetLoaded(bool loaded) { loaded_ = loaded; }

void KPLDomainObject::MarkAsNew() {
  modified_ = true;
  loaded_ = false;
}
