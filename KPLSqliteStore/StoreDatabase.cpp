#include "KPLSqliteStore/StoreDatabase.h"

#include <filesystem>
#include <map>
#include <set>
#include <system_error>

#include <nlohmann/json.hpp>

namespace kplstore {
namespace {

using kpl::platform::SqliteDb;
using kpl::platform::SqliteStatement;
using kpl::platform::SqliteTransaction;

// Migration k brings a store from schema version k to k + 1.
constexpr const char* kMigrations[] = {
    // 0 -> 1: the first layout.
    "CREATE TABLE pf_sets("
    "  name TEXT PRIMARY KEY COLLATE NOCASE, guid TEXT NOT NULL, flag INTEGER NOT NULL, source TEXT NOT NULL,"
    "  age_groups_guid TEXT NOT NULL, vc_uses_fvc_equation INTEGER NOT NULL,"
    "  age0_lower INTEGER NOT NULL, age0_upper INTEGER NOT NULL, age1_lower INTEGER NOT NULL,"
    "  age1_upper INTEGER NOT NULL, age2_lower INTEGER NOT NULL, age2_upper INTEGER NOT NULL);"
    "CREATE TABLE gx_sets("
    "  name TEXT PRIMARY KEY COLLATE NOCASE, guid TEXT NOT NULL, flag INTEGER NOT NULL, source TEXT NOT NULL,"
    "  options_guid TEXT NOT NULL, vco2_option INTEGER NOT NULL, true_gas_option INTEGER NOT NULL,"
    "  per_kilogram_option INTEGER NOT NULL, mets_option INTEGER NOT NULL, oxygen_pulse_option INTEGER NOT NULL,"
    "  ve_vo2_option INTEGER NOT NULL, ve_vco2_option INTEGER NOT NULL, obesity_rule_off_option INTEGER NOT NULL,"
    "  age0_lower INTEGER NOT NULL, age0_upper INTEGER NOT NULL, age1_lower INTEGER NOT NULL,"
    "  age1_upper INTEGER NOT NULL, age2_lower INTEGER NOT NULL, age2_upper INTEGER NOT NULL,"
    "  mvv_method INTEGER NOT NULL, vco2_factor REAL NOT NULL, male_bmi_limit REAL NOT NULL,"
    "  female_bmi_limit REAL NOT NULL, gas_factor REAL NOT NULL, fev1_factor REAL NOT NULL);"
    "CREATE TABLE author_choices("
    "  kind TEXT NOT NULL CHECK (kind IN ('pf', 'gx')), set_name TEXT NOT NULL COLLATE NOCASE,"
    "  position INTEGER NOT NULL, variable_number INTEGER NOT NULL, source TEXT NOT NULL,"
    "  PRIMARY KEY (kind, set_name, position));"
    "CREATE TABLE author_choice_combinations("
    "  kind TEXT NOT NULL, set_name TEXT NOT NULL COLLATE NOCASE, position INTEGER NOT NULL,"
    "  combination INTEGER NOT NULL, author_name TEXT NOT NULL, author_guid TEXT NOT NULL,"
    "  PRIMARY KEY (kind, set_name, position, combination));"
    "CREATE TABLE race_corrections("
    "  set_name TEXT NOT NULL COLLATE NOCASE, position INTEGER NOT NULL, variable_number INTEGER NOT NULL,"
    "  factor1 REAL NOT NULL, factor2 REAL NOT NULL, factor3 REAL NOT NULL, factor4 REAL NOT NULL,"
    "  source TEXT NOT NULL, PRIMARY KEY (set_name, position));"
    "CREATE TABLE authors("
    "  kind TEXT NOT NULL CHECK (kind IN ('pf', 'gx')), guid TEXT NOT NULL, seq INTEGER NOT NULL,"
    "  name TEXT NOT NULL, single_equation INTEGER, si_units INTEGER, flag INTEGER NOT NULL,"
    "  source TEXT NOT NULL, PRIMARY KEY (kind, guid));"
    "CREATE TABLE equation_records("
    "  kind TEXT NOT NULL, author_guid TEXT NOT NULL, position INTEGER NOT NULL,"
    "  variable_number INTEGER NOT NULL, record_kind INTEGER NOT NULL, guid TEXT NOT NULL, source TEXT NOT NULL,"
    "  PRIMARY KEY (kind, author_guid, position));"
    "CREATE TABLE equation_texts("
    "  kind TEXT NOT NULL, author_guid TEXT NOT NULL, position INTEGER NOT NULL, text_index INTEGER NOT NULL,"
    "  text TEXT NOT NULL, PRIMARY KEY (kind, author_guid, position, text_index));"
    "CREATE TABLE variables("
    "  variable_set INTEGER NOT NULL, position INTEGER NOT NULL, variable_number INTEGER NOT NULL,"
    "  name TEXT NOT NULL, test_type INTEGER NOT NULL, decimals INTEGER NOT NULL, unit TEXT NOT NULL,"
    "  conventional_unit TEXT NOT NULL, source TEXT NOT NULL, text5 TEXT NOT NULL, text6 TEXT NOT NULL,"
    "  value1 REAL NOT NULL, flag1 INTEGER NOT NULL, values_json TEXT NOT NULL, flags_json TEXT NOT NULL,"
    "  PRIMARY KEY (variable_set, position), UNIQUE (variable_set, variable_number));",
};
static_assert(std::size(kMigrations) == StoreDatabase::kSchemaVersion, "one migration per schema version");

constexpr const char* kTables[] = {"pf_sets",         "gx_sets",         "author_choices", "author_choice_combinations",
                                   "race_corrections", "authors",        "equation_records", "equation_texts",
                                   "variables"};

std::int64_t B(bool b) { return b ? 1 : 0; }

}  // namespace

bool StoreDatabase::Fail(std::string what) {
  error_ = std::move(what);
  return false;
}

bool StoreDatabase::Open(const std::string& path, OpenMode mode, int busyTimeoutMs) {
  Close();
  path_ = path;
  error_.clear();
  const std::string prefix = "cannot open store " + path + ": ";
  std::error_code ec;
  const bool exists = std::filesystem::exists(path, ec);
  if (!exists && mode != OpenMode::kCreate) return Fail(prefix + "no such file");

  const auto dbMode = mode == OpenMode::kReadOnly ? SqliteDb::Mode::kReadOnly
                      : mode == OpenMode::kCreate ? SqliteDb::Mode::kReadWriteCreate
                                                  : SqliteDb::Mode::kReadWrite;
  if (!db_.Open(path, dbMode, busyTimeoutMs)) return Fail(prefix + db_.Error());
  readOnly_ = db_.IsReadOnly();

  const int version = db_.UserVersion().value_or(-1);
  if (version > kSchemaVersion) {
    Close();
    return Fail(prefix + "its schema version " + std::to_string(version) + " is newer than this program's (" +
                std::to_string(kSchemaVersion) + ")");
  }
  if (version == 0) {
    // A version-0 file is ours only when it is empty.
    auto tables = db_.Prepare("SELECT count(*) FROM sqlite_master");
    if (!tables.Step()) {
      const std::string why = db_.Error();
      Close();
      return Fail(prefix + why);
    }
    if (tables.Int(0) != 0) {
      Close();
      return Fail(prefix + "it is an SQLite database but not a predicted-set store");
    }
    if (mode != OpenMode::kCreate) {
      Close();
      return Fail(prefix + "it is empty, not a predicted-set store");
    }
  }
  if (version < kSchemaVersion) {
    if (readOnly_) {
      Close();
      return Fail(prefix + "its schema needs an update, and the file is read-only");
    }
    if (!Migrate(version)) {
      const std::string why = error_;
      Close();
      return Fail(prefix + why);
    }
  }
  return true;
}

void StoreDatabase::Close() {
  db_.Close();
  readOnly_ = false;
}

bool StoreDatabase::Migrate(int from) {
  SqliteTransaction transaction(db_);
  if (!transaction.ok()) return Fail(db_.Error());
  // Read again under the write lock: another process may have migrated meanwhile.
  const int version = db_.UserVersion().value_or(-1);
  for (int v = version; v < kSchemaVersion; ++v) {
    if (!db_.Exec(kMigrations[v])) return Fail("schema update " + std::to_string(v) + ": " + db_.Error());
  }
  if (version != from && version >= kSchemaVersion) return true;
  if (!db_.Exec("PRAGMA user_version = " + std::to_string(kSchemaVersion))) return Fail(db_.Error());
  if (!transaction.Commit()) return Fail(db_.Error());
  return true;
}

bool StoreDatabase::Import(const std::vector<ContentFile>& files) {
  error_.clear();
  if (!IsOpen()) return Fail("the store is not open");
  if (readOnly_) return Fail("store " + path_ + " is read-only");
  SqliteTransaction transaction(db_);
  if (!transaction.ok()) return Fail("cannot write store " + path_ + ": " + db_.Error());
  for (const ContentFile& file : files) {
    bool ok = false;
    if (const auto* pf = std::get_if<PfSetFile>(&file)) {
      ok = WritePf(*pf);
    } else if (const auto* gx = std::get_if<GxSetFile>(&file)) {
      ok = WriteGx(*gx);
    } else {
      ok = WriteCatalogue(std::get<VariableCatalogue>(file));
    }
    if (!ok) {
      if (error_.empty()) error_ = db_.Error();
      return Fail("cannot write store " + path_ + ": " + error_);
    }
  }
  if (!transaction.Commit()) return Fail("cannot write store " + path_ + ": " + db_.Error());
  return true;
}

bool StoreDatabase::WriteAuthorRow(const std::string& kind, const std::string& guid, const std::string& name,
                                   int singleEquation, int siUnits, bool flag, const std::string& source) {
  // An author replaced by GUID keeps its place in the catalogue.
  auto seq = db_.Prepare("SELECT seq FROM authors WHERE kind = ?1 AND guid = ?2");
  seq.Bind(1, kind).Bind(2, guid);
  std::int64_t position = 0;
  if (seq.Step()) {
    position = seq.Int(0);
  } else {
    auto next = db_.Prepare("SELECT coalesce(max(seq), 0) + 1 FROM authors");
    if (!next.Step()) return false;
    position = next.Int(0);
  }
  for (const char* sql : {"DELETE FROM equation_texts WHERE kind = ?1 AND author_guid = ?2",
                          "DELETE FROM equation_records WHERE kind = ?1 AND author_guid = ?2",
                          "DELETE FROM authors WHERE kind = ?1 AND guid = ?2"}) {
    if (!db_.Prepare(sql).Bind(1, kind).Bind(2, guid).Run()) return false;
  }
  auto insert = db_.Prepare(
      "INSERT INTO authors(kind, guid, seq, name, single_equation, si_units, flag, source) "
      "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
  insert.Bind(1, kind).Bind(2, guid).Bind(3, position).Bind(4, name);
  if (singleEquation < 0) insert.BindNull(5); else insert.Bind(5, std::int64_t{singleEquation});
  if (siUnits < 0) insert.BindNull(6); else insert.Bind(6, std::int64_t{siUnits});
  insert.Bind(7, B(flag)).Bind(8, source);
  return insert.Run();
}

bool StoreDatabase::WriteChoice(const std::string& kind, const std::string& set, std::size_t position,
                                std::int32_t variable, const std::string& source, const std::string* names,
                                const std::string* guids, int combinations) {
  const auto pos = static_cast<std::int64_t>(position);
  if (!db_.Prepare("INSERT INTO author_choices(kind, set_name, position, variable_number, source) "
                   "VALUES(?1, ?2, ?3, ?4, ?5)")
           .Bind(1, kind).Bind(2, set).Bind(3, pos).Bind(4, std::int64_t{variable}).Bind(5, source).Run())
    return false;
  auto combo = db_.Prepare(
      "INSERT INTO author_choice_combinations(kind, set_name, position, combination, author_name, author_guid) "
      "VALUES(?1, ?2, ?3, ?4, ?5, ?6)");
  for (int m = 0; m < combinations; ++m) {
    combo.Reset();
    if (!combo.Bind(1, kind).Bind(2, set).Bind(3, pos).Bind(4, std::int64_t{m}).Bind(5, names[m]).Bind(6, guids[m]).Run())
      return false;
  }
  return true;
}

bool StoreDatabase::WriteRecord(const std::string& kind, const std::string& author, std::size_t position,
                                std::int32_t variable, std::int32_t recordKind, const std::string& guid,
                                const std::string& source, const std::string* texts, int count) {
  const auto pos = static_cast<std::int64_t>(position);
  if (!db_.Prepare("INSERT INTO equation_records(kind, author_guid, position, variable_number, record_kind, guid, "
                   "source) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7)")
           .Bind(1, kind).Bind(2, author).Bind(3, pos).Bind(4, std::int64_t{variable})
           .Bind(5, std::int64_t{recordKind}).Bind(6, guid).Bind(7, source).Run())
    return false;
  auto text = db_.Prepare(
      "INSERT INTO equation_texts(kind, author_guid, position, text_index, text) VALUES(?1, ?2, ?3, ?4, ?5)");
  for (int i = 0; i < count; ++i) {
    if (texts[i].empty()) continue;  // an absent text reads back empty
    text.Reset();
    if (!text.Bind(1, kind).Bind(2, author).Bind(3, pos).Bind(4, std::int64_t{i}).Bind(5, texts[i]).Run()) return false;
  }
  return true;
}

bool StoreDatabase::WritePf(const PfSetFile& file) {
  const PfSet& s = file.set;
  for (const char* sql : {"DELETE FROM pf_sets WHERE name = ?1",
                          "DELETE FROM author_choices WHERE kind = 'pf' AND set_name = ?1",
                          "DELETE FROM author_choice_combinations WHERE kind = 'pf' AND set_name = ?1",
                          "DELETE FROM race_corrections WHERE set_name = ?1"}) {
    if (!db_.Prepare(sql).Bind(1, s.name).Run()) return false;
  }
  auto set = db_.Prepare(
      "INSERT INTO pf_sets(name, guid, flag, source, age_groups_guid, vc_uses_fvc_equation, age0_lower, age0_upper, "
      "age1_lower, age1_upper, age2_lower, age2_upper) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
  set.Bind(1, s.name).Bind(2, s.guid).Bind(3, B(s.flag)).Bind(4, s.source).Bind(5, s.ageGroupsGuid)
      .Bind(6, B(s.vcUsesFvcEquation));
  for (int k = 0; k < 3; ++k) {
    set.Bind(7 + 2 * k, std::int64_t{s.ageRanges[static_cast<std::size_t>(k)][0]});
    set.Bind(8 + 2 * k, std::int64_t{s.ageRanges[static_cast<std::size_t>(k)][1]});
  }
  if (!set.Run()) return false;
  for (std::size_t i = 0; i < s.authorChoices.size(); ++i) {
    const auto& c = s.authorChoices[i];
    if (!WriteChoice("pf", s.name, i, c.variableNumber, c.source, c.authorNames.data(), c.authorGuids.data(), 6))
      return false;
  }
  auto rc = db_.Prepare(
      "INSERT INTO race_corrections(set_name, position, variable_number, factor1, factor2, factor3, factor4, source) "
      "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
  for (std::size_t i = 0; i < s.raceCorrections.size(); ++i) {
    const auto& r = s.raceCorrections[i];
    rc.Reset();
    rc.Bind(1, s.name).Bind(2, static_cast<std::int64_t>(i)).Bind(3, std::int64_t{r.variableNumber});
    for (int k = 0; k < 4; ++k) rc.Bind(4 + k, r.factors[static_cast<std::size_t>(k)]);
    if (!rc.Bind(8, r.source).Run()) return false;
  }
  for (const PfAuthor& a : file.authors) {
    if (!WriteAuthorRow("pf", a.guid, a.name, a.singleEquation ? 1 : 0, a.siUnits ? 1 : 0, a.flag3, a.source))
      return false;
    for (std::size_t i = 0; i < a.equations.size(); ++i) {
      const auto& q = a.equations[i];
      if (!WriteRecord("pf", a.guid, i, q.variableNumber, q.kind, q.guid, q.source, q.equations.data(), 24))
        return false;
    }
  }
  return true;
}

bool StoreDatabase::WriteGx(const GxSetFile& file) {
  const GxSet& s = file.set;
  for (const char* sql : {"DELETE FROM gx_sets WHERE name = ?1",
                          "DELETE FROM author_choices WHERE kind = 'gx' AND set_name = ?1",
                          "DELETE FROM author_choice_combinations WHERE kind = 'gx' AND set_name = ?1"}) {
    if (!db_.Prepare(sql).Bind(1, s.name).Run()) return false;
  }
  auto set = db_.Prepare(
      "INSERT INTO gx_sets(name, guid, flag, source, options_guid, vco2_option, true_gas_option, "
      "per_kilogram_option, mets_option, oxygen_pulse_option, ve_vo2_option, ve_vco2_option, "
      "obesity_rule_off_option, age0_lower, age0_upper, age1_lower, age1_upper, age2_lower, age2_upper, mvv_method, "
      "vco2_factor, male_bmi_limit, female_bmi_limit, gas_factor, fev1_factor) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, "
      "?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21, ?22, ?23, ?24, ?25)");
  set.Bind(1, s.name).Bind(2, s.guid).Bind(3, B(s.flag)).Bind(4, s.source).Bind(5, s.options.guid);
  for (int k = 0; k < 8; ++k) set.Bind(6 + k, B(s.options.flags[static_cast<std::size_t>(k)]));
  for (int k = 0; k < 3; ++k) {
    set.Bind(14 + 2 * k, std::int64_t{s.options.ageRanges[static_cast<std::size_t>(k)][0]});
    set.Bind(15 + 2 * k, std::int64_t{s.options.ageRanges[static_cast<std::size_t>(k)][1]});
  }
  set.Bind(20, std::int64_t{s.options.mvvMethod});
  for (int k = 0; k < 5; ++k) set.Bind(21 + k, s.options.factors[static_cast<std::size_t>(k)]);
  if (!set.Run()) return false;
  for (std::size_t i = 0; i < s.authorChoices.size(); ++i) {
    const auto& c = s.authorChoices[i];
    if (!WriteChoice("gx", s.name, i, c.variableNumber, c.source, c.authorNames.data(), c.authorGuids.data(), 8))
      return false;
  }
  for (const GxAuthor& a : file.authors) {
    if (!WriteAuthorRow("gx", a.guid, a.name, -1, -1, a.flag, a.source)) return false;
    for (std::size_t i = 0; i < a.equations.size(); ++i) {
      const auto& q = a.equations[i];
      if (!WriteRecord("gx", a.guid, i, q.variableNumber, 0, q.guid, q.source, q.equations.data(), 8)) return false;
    }
  }
  return true;
}

bool StoreDatabase::WriteCatalogue(const VariableCatalogue& catalogue) {
  if (!db_.Prepare("DELETE FROM variables WHERE variable_set = ?1").Bind(1, std::int64_t{catalogue.variableSet}).Run())
    return false;
  auto insert = db_.Prepare(
      "INSERT INTO variables(variable_set, position, variable_number, name, test_type, decimals, unit, "
      "conventional_unit, source, text5, text6, value1, flag1, values_json, flags_json) "
      "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15)");
  for (std::size_t i = 0; i < catalogue.variables.size(); ++i) {
    const auto& v = catalogue.variables[i];
    insert.Reset();
    insert.Bind(1, std::int64_t{catalogue.variableSet}).Bind(2, static_cast<std::int64_t>(i))
        .Bind(3, std::int64_t{v.variableNumber}).Bind(4, v.name).Bind(5, std::int64_t{v.testType})
        .Bind(6, std::int64_t{v.decimals}).Bind(7, v.unit).Bind(8, v.conventionalUnit).Bind(9, v.source)
        .Bind(10, v.text5).Bind(11, v.text6).Bind(12, v.value1).Bind(13, B(v.flag1))
        .Bind(14, nlohmann::json(v.values).dump()).Bind(15, nlohmann::json(v.flags).dump());
    if (!insert.Run()) return false;
  }
  return true;
}

std::vector<SetListing> StoreDatabase::ListSets() {
  std::vector<SetListing> out;
  auto s = db_.Prepare(
      "SELECT 'pf', name, guid, (SELECT count(*) FROM author_choices c WHERE c.kind = 'pf' AND c.set_name = p.name) "
      "FROM pf_sets p UNION ALL "
      "SELECT 'gx', name, guid, (SELECT count(*) FROM author_choices c WHERE c.kind = 'gx' AND c.set_name = g.name) "
      "FROM gx_sets g ORDER BY 1 DESC, 2");
  while (s.Step()) out.push_back({s.Text(0), s.Text(1), s.Text(2), static_cast<std::size_t>(s.Int(3))});
  return out;
}

template <class Choice>
std::vector<Choice> StoreDatabase::ReadChoices(const std::string& kind, const std::string& set) {
  std::vector<Choice> out;
  auto s = db_.Prepare(
      "SELECT position, variable_number, source FROM author_choices WHERE kind = ?1 AND set_name = ?2 "
      "ORDER BY position");
  s.Bind(1, kind).Bind(2, set);
  auto combos = db_.Prepare(
      "SELECT combination, author_name, author_guid FROM author_choice_combinations "
      "WHERE kind = ?1 AND set_name = ?2 AND position = ?3");
  while (s.Step()) {
    Choice c;
    c.variableNumber = static_cast<std::int32_t>(s.Int(1));
    c.source = s.Text(2);
    combos.Reset();
    combos.Bind(1, kind).Bind(2, set).Bind(3, s.Int(0));
    while (combos.Step()) {
      const auto m = static_cast<std::size_t>(combos.Int(0));
      if (m >= c.authorNames.size()) continue;
      c.authorNames[m] = combos.Text(1);
      c.authorGuids[m] = combos.Text(2);
    }
    out.push_back(std::move(c));
  }
  return out;
}

template <class Record>
std::map<std::string, std::vector<Record>> StoreDatabase::ReadRecords(const std::string& kind) {
  // Two queries for every record of a kind, grouped here: a load reads
  // hundreds of records, one query each would dominate its time.
  std::map<std::string, std::vector<Record>> out;
  auto s = db_.Prepare(
      "SELECT author_guid, variable_number, record_kind, guid, source FROM equation_records "
      "WHERE kind = ?1 ORDER BY author_guid, position");
  s.Bind(1, kind);
  while (s.Step()) {
    Record r;
    r.variableNumber = static_cast<std::int32_t>(s.Int(1));
    if constexpr (requires { r.kind; }) r.kind = static_cast<std::int32_t>(s.Int(2));
    r.guid = s.Text(3);
    r.source = s.Text(4);
    out[s.Text(0)].push_back(std::move(r));
  }
  auto texts = db_.Prepare(
      "SELECT t.author_guid, r.rank, t.text_index, t.text FROM equation_texts t JOIN ("
      "  SELECT author_guid, position, row_number() OVER (PARTITION BY author_guid ORDER BY position) - 1 AS rank"
      "  FROM equation_records WHERE kind = ?1) r"
      " ON r.author_guid = t.author_guid AND r.position = t.position WHERE t.kind = ?1");
  texts.Bind(1, kind);
  while (texts.Step()) {
    auto it = out.find(texts.Text(0));
    const auto rank = static_cast<std::size_t>(texts.Int(1));
    const auto index = static_cast<std::size_t>(texts.Int(2));
    if (it == out.end() || rank >= it->second.size()) continue;
    auto& record = it->second[rank];
    if (index < record.equations.size()) record.equations[index] = texts.Text(3);
  }
  return out;
}

std::optional<PfSet> StoreDatabase::ReadPfSet(const std::string& name) {
  error_.clear();
  auto s = db_.Prepare(
      "SELECT name, guid, flag, source, age_groups_guid, vc_uses_fvc_equation, age0_lower, age0_upper, age1_lower, "
      "age1_upper, age2_lower, age2_upper FROM pf_sets WHERE name = ?1");
  if (!s.Bind(1, name).Step()) {
    if (!s.Done()) error_ = db_.Error();
    return std::nullopt;
  }
  PfSet set;
  set.name = s.Text(0);
  set.guid = s.Text(1);
  set.flag = s.Int(2) != 0;
  set.source = s.Text(3);
  set.ageGroupsGuid = s.Text(4);
  set.vcUsesFvcEquation = s.Int(5) != 0;
  for (int k = 0; k < 3; ++k) {
    set.ageRanges[static_cast<std::size_t>(k)] = {static_cast<std::int32_t>(s.Int(6 + 2 * k)),
                                                  static_cast<std::int32_t>(s.Int(7 + 2 * k))};
  }
  set.authorChoices = ReadChoices<PfAuthorChoice>("pf", set.name);
  auto rc = db_.Prepare(
      "SELECT variable_number, factor1, factor2, factor3, factor4, source FROM race_corrections "
      "WHERE set_name = ?1 ORDER BY position");
  rc.Bind(1, set.name);
  while (rc.Step()) {
    RaceCorrection r;
    r.variableNumber = static_cast<std::int32_t>(rc.Int(0));
    for (int k = 0; k < 4; ++k) r.factors[static_cast<std::size_t>(k)] = rc.Double(1 + k);
    r.source = rc.Text(5);
    set.raceCorrections.push_back(std::move(r));
  }
  return set;
}

std::optional<GxSet> StoreDatabase::ReadGxSet(const std::string& name) {
  error_.clear();
  auto s = db_.Prepare(
      "SELECT name, guid, flag, source, options_guid, vco2_option, true_gas_option, per_kilogram_option, "
      "mets_option, oxygen_pulse_option, ve_vo2_option, ve_vco2_option, obesity_rule_off_option, age0_lower, "
      "age0_upper, age1_lower, age1_upper, age2_lower, age2_upper, mvv_method, vco2_factor, male_bmi_limit, "
      "female_bmi_limit, gas_factor, fev1_factor FROM gx_sets WHERE name = ?1");
  if (!s.Bind(1, name).Step()) {
    if (!s.Done()) error_ = db_.Error();
    return std::nullopt;
  }
  GxSet set;
  set.name = s.Text(0);
  set.guid = s.Text(1);
  set.flag = s.Int(2) != 0;
  set.source = s.Text(3);
  set.options.guid = s.Text(4);
  for (int k = 0; k < 8; ++k) set.options.flags[static_cast<std::size_t>(k)] = s.Int(5 + k) != 0;
  for (int k = 0; k < 3; ++k) {
    set.options.ageRanges[static_cast<std::size_t>(k)] = {static_cast<std::int32_t>(s.Int(13 + 2 * k)),
                                                          static_cast<std::int32_t>(s.Int(14 + 2 * k))};
  }
  set.options.mvvMethod = static_cast<std::int32_t>(s.Int(19));
  for (int k = 0; k < 5; ++k) set.options.factors[static_cast<std::size_t>(k)] = s.Double(20 + k);
  set.authorChoices = ReadChoices<GxAuthorChoice>("gx", set.name);
  return set;
}

std::vector<PfAuthor> StoreDatabase::ReadPfAuthors() {
  std::vector<PfAuthor> out;
  auto records = ReadRecords<PfEquationRecord>("pf");
  auto s = db_.Prepare(
      "SELECT guid, name, single_equation, si_units, flag, source FROM authors WHERE kind = 'pf' ORDER BY seq");
  while (s.Step()) {
    PfAuthor a;
    a.guid = s.Text(0);
    a.name = s.Text(1);
    a.singleEquation = s.Int(2) != 0;
    a.siUnits = s.Int(3) != 0;
    a.flag3 = s.Int(4) != 0;
    a.source = s.Text(5);
    if (auto it = records.find(a.guid); it != records.end()) a.equations = std::move(it->second);
    out.push_back(std::move(a));
  }
  return out;
}

std::vector<GxAuthor> StoreDatabase::ReadGxAuthors() {
  std::vector<GxAuthor> out;
  auto records = ReadRecords<GxEquationRecord>("gx");
  auto s = db_.Prepare("SELECT guid, name, flag, source FROM authors WHERE kind = 'gx' ORDER BY seq");
  while (s.Step()) {
    GxAuthor a;
    a.guid = s.Text(0);
    a.name = s.Text(1);
    a.flag = s.Int(2) != 0;
    a.source = s.Text(3);
    if (auto it = records.find(a.guid); it != records.end()) a.equations = std::move(it->second);
    out.push_back(std::move(a));
  }
  return out;
}

namespace {
// The authors a set's choices name, in catalogue order, so that a store made
// from an export lists its authors as this one does.
template <class Author, class Set>
std::vector<Author> NamedAuthors(const Set& set, const std::vector<Author>& all) {
  std::set<std::string> named;
  for (const auto& choice : set.authorChoices)
    for (const auto& guid : choice.authorGuids)
      if (!guid.empty()) named.insert(guid);
  std::vector<Author> out;
  for (const auto& a : all)
    if (named.count(a.guid)) out.push_back(a);
  return out;
}
}  // namespace

std::optional<PfSetFile> StoreDatabase::ReadPfSetFile(const std::string& name) {
  auto set = ReadPfSet(name);
  if (!set) return std::nullopt;
  PfSetFile file{*set, NamedAuthors(*set, ReadPfAuthors())};
  return file;
}

std::optional<GxSetFile> StoreDatabase::ReadGxSetFile(const std::string& name) {
  auto set = ReadGxSet(name);
  if (!set) return std::nullopt;
  GxSetFile file{*set, NamedAuthors(*set, ReadGxAuthors())};
  return file;
}

VariableCatalogue StoreDatabase::ReadCatalogue(std::int32_t variableSet) {
  VariableCatalogue catalogue;
  catalogue.variableSet = variableSet;
  auto s = db_.Prepare(
      "SELECT variable_number, name, test_type, decimals, unit, conventional_unit, source, text5, text6, value1, "
      "flag1, values_json, flags_json FROM variables WHERE variable_set = ?1 ORDER BY position");
  s.Bind(1, std::int64_t{variableSet});
  while (s.Step()) {
    CatalogueVariable v;
    v.variableNumber = static_cast<std::int32_t>(s.Int(0));
    v.name = s.Text(1);
    v.testType = static_cast<std::int32_t>(s.Int(2));
    v.decimals = static_cast<std::int32_t>(s.Int(3));
    v.unit = s.Text(4);
    v.conventionalUnit = s.Text(5);
    v.source = s.Text(6);
    v.text5 = s.Text(7);
    v.text6 = s.Text(8);
    v.value1 = s.Double(9);
    v.flag1 = s.Int(10) != 0;
    auto values = nlohmann::json::parse(s.Text(11), nullptr, false);
    if (values.is_array() && values.size() == 9)
      for (std::size_t k = 0; k < 9; ++k) v.values[k] = values[k].is_number() ? values[k].get<double>() : 0.0;
    auto flags = nlohmann::json::parse(s.Text(12), nullptr, false);
    if (flags.is_array() && flags.size() == 3)
      for (std::size_t k = 0; k < 3; ++k) v.flags[k] = flags[k].is_boolean() && flags[k].get<bool>();
    catalogue.variables.push_back(std::move(v));
  }
  return catalogue;
}

}  // namespace kplstore
