// KPLDomainObject: the base of every persistent record and collection of the
// domain model.
//
// Carries the two flags the persistence store and the owners read and write,
// and the virtual operations every record answers. Records are copied deeply
// by assignment, flags included. Run-time class queries use the language's
// own (dynamic_cast, typeid).
#pragma once

class KPLValidationResult;

class KPLDomainObject {
 public:
  KPLDomainObject() = default;
  virtual ~KPLDomainObject() = default;
  KPLDomainObject(const KPLDomainObject&) = default;
  KPLDomainObject& operator=(const KPLDomainObject&) = default;

  // Both flags false. Derived classes reset their own fields, then call this.
  virtual void Clear();
  // True unless the class has a rule; writes into `result` when it fails.
  [[nodiscard]] virtual bool Validate(KPLValidationResult* result) const;
  [[nodiscard]] virtual bool IsModified() const;
  virtual void SetModified(bool modified);
  [[nodiscard]] virtual bool IsLoaded() const;
  virtual void SetLoaded(bool loaded);
  // Modified, not loaded: the store must write the object as new.
  virtual void MarkAsNew();

 protected:
  bool modified_ = false;  // differs from what the store holds
  bool loaded_ = false;    // stands for a record of the store
};
