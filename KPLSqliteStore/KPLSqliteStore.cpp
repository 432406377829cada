#include "KPLSqliteStore/KPLSqliteStore.h"

#include <algorithm>

#include "KPLDomainObjects/KPLGXPredSet.h"
#include "KPLDomainObjects/KPLPredSet.h"
#include "KPLDomainObjects/KPLVariablesCollection.h"

namespace kplstore {
namespace {

// The flags of a load.
void Loaded(KPLDomainObject& object) {
  object.SetLoaded(true);
  object.SetModified(false);
}

template <class Range>
void SetRanges(const AgeRanges& from, Range& to) {
  for (std::size_t k = 0; k < 3; ++k) {
    to[k].lower = from[k][0];
    to[k].upper = from[k][1];
  }
}

}  // namespace

void ToRecord(const PfSet& from, KPLPredSet& to) {
  to.name = from.name;
  to.guid.Set(from.guid);
  to.flag = from.flag;
  to.ageGroups.guid.Set(from.ageGroupsGuid);
  to.ageGroups.vcUsesFvcEquation = from.vcUsesFvcEquation;
  SetRanges(from.ageRanges, to.ageGroups.ageRanges);
  Loaded(to.ageGroups);
  for (const auto& c : from.authorChoices) {
    KPLPredSelectedAuthor2 choice;
    choice.variableNumber = c.variableNumber;
    choice.authorNames = c.authorNames;
    choice.authorGuids = c.authorGuids;
    Loaded(choice);
    to.authorChoices.Append(choice);
  }
  Loaded(to.authorChoices);
  for (const auto& r : from.raceCorrections) {
    KPLRaceCorrection correction;
    correction.variableNumber = r.variableNumber;
    correction.factors = r.factors;
    Loaded(correction);
    to.raceCorrections.Append(correction);
  }
  Loaded(to.raceCorrections);
  Loaded(to);
}

void ToRecord(const GxSet& from, KPLGXPredSet& to) {
  to.name = from.name;
  to.guid.Set(from.guid);
  to.flag = from.flag;
  KPLGXPredSetOptions& o = to.options;
  o.guid.Set(from.options.guid);
  const auto& f = from.options.flags;
  o.vco2Option = f[0], o.trueGasOption = f[1], o.perKilogramOption = f[2], o.metsOption = f[3];
  o.oxygenPulseOption = f[4], o.veVo2Option = f[5], o.veVco2Option = f[6], o.obesityRuleOffOption = f[7];
  SetRanges(from.options.ageRanges, o.ageRanges);
  o.mvvMethod = from.options.mvvMethod;
  const auto& x = from.options.factors;
  o.vco2Factor = x[0], o.maleBmiLimit = x[1], o.femaleBmiLimit = x[2], o.gasFactor = x[3], o.fev1Factor = x[4];
  Loaded(o);
  for (const auto& c : from.authorChoices) {
    KPLGXPredSelectedAuthor2 choice;
    choice.variableNumber = c.variableNumber;
    choice.authorNames = c.authorNames;
    choice.authorGuids = c.authorGuids;
    Loaded(choice);
    to.authorChoices.Append(choice);
  }
  Loaded(to.authorChoices);
  Loaded(to);
}

void ToRecords(const std::vector<PfAuthor>& from, KPLPredAuthorsCollection& to) {
  for (const auto& a : from) {
    KPLPredAuthor author;
    author.name = a.name;
    author.guid.Set(a.guid);
    author.singleEquation = a.singleEquation;
    author.siUnits = a.siUnits;
    author.flag3 = a.flag3;
    for (const auto& q : a.equations) {
      KPLPredVariable record;
      record.variableNumber = q.variableNumber;
      record.kind = q.kind;
      record.guid.Set(q.guid);
      record.equations = q.equations;
      Loaded(record);
      author.equations.Append(record);
    }
    Loaded(author.equations);
    Loaded(author);
    to.Append(author);
  }
  Loaded(to);
}

void ToRecords(const std::vector<GxAuthor>& from, KPLGXPredAuthorsCollection& to) {
  for (const auto& a : from) {
    KPLGXPredAuthor author;
    author.name = a.name;
    author.guid.Set(a.guid);
    author.flag = a.flag;
    for (const auto& q : a.equations) {
      KPLGXPredVariable record;
      record.variableNumber = q.variableNumber;
      record.guid.Set(q.guid);
      record.equations = q.equations;
      Loaded(record);
      author.equations.Append(record);
    }
    Loaded(author.equations);
    Loaded(author);
    to.Append(author);
  }
  Loaded(to);
}

void ToRecords(const VariableCatalogue& from, KPLVariablesCollection& to) {
  for (const auto& v : from.variables) {
    KPLVariable variable;
    variable.name = v.name;
    variable.text2 = v.unit;
    variable.source = v.source;
    variable.texts4To6 = {v.conventionalUnit, v.text5, v.text6};
    variable.value1 = v.value1;
    variable.variableNumber = v.variableNumber;
    variable.decimals = static_cast<std::uint8_t>(std::clamp(v.decimals, 0, 255));
    variable.flag1 = v.flag1;
    variable.testType = v.testType;
    variable.values2To10 = v.values;
    variable.flags2To4 = v.flags;
    Loaded(variable);
    to.Append(variable);
  }
  Loaded(to);
}

}  // namespace kplstore

bool KPLSqliteStore::Open(const std::string& path, int busyTimeoutMs) {
  opened_ = db_.Open(path, kplstore::StoreDatabase::OpenMode::kReadOnly, busyTimeoutMs);
  error_ = opened_ ? std::string() : db_.Error();
  return opened_;
}

void KPLSqliteStore::Close() {
  db_.Close();
  opened_ = false;
}

namespace {
// A set named by set->name, read by `read` and filled into the record.
template <class Set, class Read>
KPLDataStore::DS_LOAD_RETURN LoadSet(Set* set, kplstore::StoreDatabase& db, std::string& error, Read read) {
  if (set == nullptr) return KPLDataStore::DS_LOAD_BAD_ARGUMENT;
  if (!db.IsOpen()) return KPLDataStore::DS_LOAD_NOT_OPENED;
  auto content = read(set->name);
  if (!content) {
    error = db.Error();
    return error.empty() ? KPLDataStore::DS_LOAD_NOT_FOUND : KPLDataStore::DS_LOAD_STORE_ERROR;
  }
  kplstore::ToRecord(*content, *set);
  return KPLDataStore::DS_LOAD_OK;
}
}  // namespace

KPLDataStore::DS_LOAD_RETURN KPLSqliteStore::Load(KPLPredSet* set) const {
  return LoadSet(set, db_, error_, [this](const std::string& name) { return db_.ReadPfSet(name); });
}

KPLDataStore::DS_LOAD_RETURN KPLSqliteStore::Load(KPLGXPredSet* set) const {
  return LoadSet(set, db_, error_, [this](const std::string& name) { return db_.ReadGxSet(name); });
}

KPLDataStore::DS_LOAD_RETURN KPLSqliteStore::Load(KPLPredAuthorsCollection* authors, int /*argument*/) const {
  if (authors == nullptr) return DS_LOAD_BAD_ARGUMENT;
  if (!db_.IsOpen()) return DS_LOAD_NOT_OPENED;
  kplstore::ToRecords(db_.ReadPfAuthors(), *authors);
  return DS_LOAD_OK;
}

KPLDataStore::DS_LOAD_RETURN KPLSqliteStore::Load(KPLGXPredAuthorsCollection* authors, int /*argument*/) const {
  if (authors == nullptr) return DS_LOAD_BAD_ARGUMENT;
  if (!db_.IsOpen()) return DS_LOAD_NOT_OPENED;
  kplstore::ToRecords(db_.ReadGxAuthors(), *authors);
  return DS_LOAD_OK;
}

KPLDataStore::DS_LOAD_RETURN KPLSqliteStore::Load(KPLVariablesCollection* variables, int /*argument*/) const {
  if (variables == nullptr) return DS_LOAD_BAD_ARGUMENT;
  if (variables->variableSet != 253 && variables->variableSet != 254) return DS_LOAD_BAD_ARGUMENT;
  if (!db_.IsOpen()) return DS_LOAD_NOT_OPENED;
  kplstore::ToRecords(db_.ReadCatalogue(variables->variableSet), *variables);
  return DS_LOAD_OK;
}
