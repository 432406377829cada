// KPLDataStore: the persistence store the host hands to the calculators. It
// fills predicted sets, author catalogues and variable definitions; the
// calculators see only this interface, and each backend derives from it.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "KPLDomainObjects/KPLGXPredAuthorsCollection.h"
#include "KPLDomainObjects/KPLPredAuthorsCollection.h"

class KPLPredSet;
class KPLGXPredSet;
class KPLVariablesCollection;

// The host's database connections; this system only passes pointers on.
class KPLTarrowDatabase;
class KPLAuditDatabase;
class KPLQueryDatabase;

class KPLDataStore {
 public:
  // What a load answers; only DS_LOAD_OK means the object was filled.
  enum DS_LOAD_RETURN : std::int32_t {
    DS_LOAD_OK = 0,
    DS_LOAD_NOT_FOUND = 1,     // no predicted set of that name
    DS_LOAD_NOT_OPENED = 2,    // the store is not open
    DS_LOAD_STORE_ERROR = 3,   // the database failed or holds malformed content
    DS_LOAD_BAD_ARGUMENT = 4,  // a null object, or a variable-set selector other than 253 or 254
  };
  // A host callback: no arguments, answers an int.
  using DBCallback = std::function<int()>;

  virtual ~KPLDataStore();
  KPLDataStore(const KPLDataStore&) = delete;
  KPLDataStore& operator=(const KPLDataStore&) = delete;

  // The PF predicted set named by set->name (the caller clears it and sets the
  // name): author choices, age groups and race corrections.
  [[nodiscard]] virtual DS_LOAD_RETURN Load(KPLPredSet* set) const = 0;
  // The GX predicted set named by set->name: author choices and options.
  [[nodiscard]] virtual DS_LOAD_RETURN Load(KPLGXPredSet* set) const = 0;
  // Every PF author with its equation records. The calculators pass 1 as
  // `argument`; its meaning is the backend's.
  virtual DS_LOAD_RETURN Load(KPLPredAuthorsCollection* authors, int argument) const = 0;
  // Every GX author with its equation records.
  virtual DS_LOAD_RETURN Load(KPLGXPredAuthorsCollection* authors, int argument) const = 0;
  // The variable definitions of the set named by variables->variableSet
  // (254 PF, 253 GX).
  virtual DS_LOAD_RETURN Load(KPLVariablesCollection* variables, int argument) const = 0;

  // A short text for a load result, for messages.
  [[nodiscard]] static const char* LoadResultText(DS_LOAD_RETURN result);

  [[nodiscard]] bool IsOpened() const { return opened_; }
  [[nodiscard]] KPLTarrowDatabase* GetPatientDatabase() const { return patientDatabase_; }
  [[nodiscard]] KPLAuditDatabase* GetAuditDatabase() const { return auditDatabase_; }
  [[nodiscard]] KPLQueryDatabase* GetQueryDatabase() const { return queryDatabase_; }
  void SetDBSwitchFunction(DBCallback function) { dbSwitchFunction_ = std::move(function); }
  void SetDBCloseFunction(DBCallback function) { dbCloseFunction_ = std::move(function); }
  void SetDBCheckGXAutoSaveFunction(DBCallback function) { dbCheckGXAutoSaveFunction_ = std::move(function); }

 protected:
  KPLDataStore() = default;

  bool opened_ = false;
  KPLTarrowDatabase* patientDatabase_ = nullptr;
  KPLAuditDatabase* auditDatabase_ = nullptr;
  KPLQueryDatabase* queryDatabase_ = nullptr;
  DBCallback dbSwitchFunction_;
  DBCallback dbCloseFunction_;
  DBCallback dbCheckGXAutoSaveFunction_;
};
