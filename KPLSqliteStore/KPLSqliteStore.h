// KPLSqliteStore: the persistence store on one SQLite file.
//
// Answers the calculators' loads (predicted sets, authors, variable
// catalogues) from the tables of StoreDatabase and fills the domain records
// as loads do: loaded true, modified false. The file is opened once; every
// load reads it afresh, so an import by another process is seen whole.
#pragma once

#include <memory>
#include <string>

#include "KPLDomainObjects/KPLDataStore.h"
#include "KPLSqliteStore/StoreContent.h"
#include "KPLSqliteStore/StoreDatabase.h"

class KPLPredSet;
class KPLGXPredSet;
class KPLVariablesCollection;

class KPLSqliteStore final : public KPLDataStore {
 public:
  KPLSqliteStore() = default;

  // Opens an existing store, read-only; false with Error() set (not a store,
  // a newer schema, missing, locked).
  [[nodiscard]] bool Open(const std::string& path, int busyTimeoutMs = 5000);
  void Close();
  [[nodiscard]] const std::string& Error() const { return error_; }

  [[nodiscard]] DS_LOAD_RETURN Load(KPLPredSet* set) const override;
  [[nodiscard]] DS_LOAD_RETURN Load(KPLGXPredSet* set) const override;
  DS_LOAD_RETURN Load(KPLPredAuthorsCollection* authors, int argument) const override;
  DS_LOAD_RETURN Load(KPLGXPredAuthorsCollection* authors, int argument) const override;
  DS_LOAD_RETURN Load(KPLVariablesCollection* variables, int argument) const override;

 private:
  mutable kplstore::StoreDatabase db_;
  mutable std::string error_;
};

// End of public API. Implementation details follow.
namespace kplstore {
// Fill domain records from store content, with the flags of a load.
void ToRecord(const PfSet& from, KPLPredSet& to);
void ToRecord(const GxSet& from, KPLGXPredSet& to);
void ToRecords(const std::vector<PfAuthor>& from, KPLPredAuthorsCollection& to);
void ToRecords(const std::vector<GxAuthor>& from, KPLGXPredAuthorsCollection& to);
void ToRecords(const VariableCatalogue& from, KPLVariablesCollection& to);
}  // namespace kplstore
