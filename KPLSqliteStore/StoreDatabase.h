// StoreDatabase: the predicted-set store's SQLite file, table by table.
//
// Holds PF and GX predicted sets, their author choices and race corrections,
// the PF and GX authors with their equation records, and the variable
// catalogues, in plain tables a lab can inspect and back up. The schema is
// versioned by PRAGMA user_version and migrated forward when a writer opens
// it. Every write is one transaction: a reader in another process sees the
// content before or after it, never half of it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "KPLPlatform/SqliteDb.h"
#include "KPLSqliteStore/StoreContent.h"

namespace kplstore {

struct SetListing {
  std::string kind;  // "pf" or "gx"
  std::string name;
  std::string guid;
  std::size_t authorChoices = 0;
};

class StoreDatabase {
 public:
  static constexpr int kSchemaVersion = 1;
  enum class OpenMode {
    kExisting,  // the file must be a store already; read-write when the file allows it
    kReadOnly,  // an existing store, never written
    kCreate,    // created (with its schema) when missing or empty
  };

  StoreDatabase() = default;

  // False with Error() set: a missing file (unless created), a file that is
  // not SQLite or not a store, a store of a newer schema, or a lock that did
  // not clear within the busy time-out. Nothing is written on failure.
  [[nodiscard]] bool Open(const std::string& path, OpenMode mode, int busyTimeoutMs = 5000);
  void Close();
  [[nodiscard]] bool IsOpen() const { return db_.IsOpen(); }
  [[nodiscard]] bool IsReadOnly() const { return readOnly_; }
  [[nodiscard]] const std::string& Error() const { return error_; }
  [[nodiscard]] const std::string& Path() const { return path_; }

  // Writes the files in one transaction, in order (see the format's import
  // rules for what each replaces). False with Error() set changes nothing.
  [[nodiscard]] bool Import(const std::vector<ContentFile>& files);

  [[nodiscard]] std::vector<SetListing> ListSets();
  // A set with the authors its choices name, in catalogue order: the export
  // form. Nothing when there is no such set (Error() then empty) or on
  // a read error (Error() set).
  [[nodiscard]] std::optional<PfSetFile> ReadPfSetFile(const std::string& name);
  [[nodiscard]] std::optional<GxSetFile> ReadGxSetFile(const std::string& name);
  // The set alone, and every author of a kind in catalogue order.
  [[nodiscard]] std::optional<PfSet> ReadPfSet(const std::string& name);
  [[nodiscard]] std::optional<GxSet> ReadGxSet(const std::string& name);
  [[nodiscard]] std::vector<PfAuthor> ReadPfAuthors();
  [[nodiscard]] std::vector<GxAuthor> ReadGxAuthors();
  // The catalogue of variable set 254 or 253 (empty when none was imported).
  [[nodiscard]] VariableCatalogue ReadCatalogue(std::int32_t variableSet);

 private:
  bool Fail(std::string what);
  bool Migrate(int from);
  bool WritePf(const PfSetFile& file);
  bool WriteGx(const GxSetFile& file);
  bool WriteCatalogue(const VariableCatalogue& catalogue);
  bool WriteAuthorRow(const std::string& kind, const std::string& guid, const std::string& name, int singleEquation,
                      int siUnits, bool flag, const std::string& source);
  bool WriteChoice(const std::string& kind, const std::string& set, std::size_t position, std::int32_t variable,
                   const std::string& source, const std::string* names, const std::string* guids, int combinations);
  bool WriteRecord(const std::string& kind, const std::string& author, std::size_t position, std::int32_t variable,
                   std::int32_t recordKind, const std::string& guid, const std::string& source,
                   const std::string* texts, int count);
  template <class Choice>
  std::vector<Choice> ReadChoices(const std::string& kind, const std::string& set);
  // Every equation record of a kind, by author GUID, in record order.
  template <class Record>
  std::map<std::string, std::vector<Record>> ReadRecords(const std::string& kind);

  kpl::platform::SqliteDb db_;
  std::string path_;
  std::string error_;
  bool readOnly_ = false;
};

}  // namespace kplstore
