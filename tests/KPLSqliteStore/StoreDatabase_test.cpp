// The store file: round trips, refusals, transactions, and loads into records.
#include "KPLSqliteStore/StoreDatabase.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "KPLDomainObjects/KPLPredSelectedAuthorsCollection.h"
#include "KPLDomainObjects/KPLPredSet.h"
#include "KPLDomainObjects/KPLVariablesCollection.h"
#include "KPLSqliteStore/DefaultContent.h"
#include "KPLSqliteStore/KPLSqliteStore.h"
#include "support/TempDir.h"

namespace {

using kplstore::ContentFile;
using kplstore::StoreDatabase;
using kpl::testing::TempDir;

std::vector<ContentFile> DefaultFiles() {
  std::vector<ContentFile> files;
  for (const auto& f : kplstore::DefaultContent()) {
    std::vector<kplstore::Problem> problems;
    auto content = kplstore::ReadContentText(f.text, nullptr, problems);
    EXPECT_TRUE(content) << f.name;
    if (content) files.push_back(std::move(*content));
  }
  return files;
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files_ = DefaultFiles();
    ASSERT_TRUE(db_.Open(path_, StoreDatabase::OpenMode::kCreate)) << db_.Error();
    ASSERT_TRUE(db_.Import(files_)) << db_.Error();
  }
  TempDir dir_;
  std::string path_ = dir_.File("store.db");
  std::vector<ContentFile> files_;
  StoreDatabase db_;
};

TEST_F(StoreTest, ExportGivesBackWhatWasImported) {
  int sets = 0;
  for (const auto& file : files_) {
    if (const auto* pf = std::get_if<kplstore::PfSetFile>(&file)) {
      auto back = db_.ReadPfSetFile(pf->set.name);
      ASSERT_TRUE(back);
      EXPECT_EQ(*back, *pf) << pf->set.name;
      ++sets;
    } else if (const auto* gx = std::get_if<kplstore::GxSetFile>(&file)) {
      auto back = db_.ReadGxSetFile(gx->set.name);
      ASSERT_TRUE(back);
      EXPECT_EQ(*back, *gx) << gx->set.name;
      ++sets;
    } else {
      const auto& catalogue = std::get<kplstore::VariableCatalogue>(file);
      EXPECT_EQ(db_.ReadCatalogue(catalogue.variableSet), catalogue);
    }
  }
  EXPECT_EQ(sets, 3);
  // Through the file format and in again: the same content.
  auto exported = kplstore::WriteContent(*db_.ReadPfSetFile("GLI 2012"));
  std::vector<kplstore::Problem> problems;
  auto reread = kplstore::ReadContent(nlohmann::json::parse(exported.dump()), nullptr, problems);
  ASSERT_TRUE(reread) << problems[0].where << ": " << problems[0].what;
  EXPECT_EQ(std::get<kplstore::PfSetFile>(*reread), *db_.ReadPfSetFile("GLI 2012"));
  EXPECT_FALSE(db_.ReadPfSetFile("No such set"));
  EXPECT_TRUE(db_.Error().empty()) << "a missing set is not an error of the file";
}

TEST_F(StoreTest, LoadsFillTheRecordsAsTheCalculatorsNeedThem) {
  db_.Close();
  KPLSqliteStore store;
  ASSERT_TRUE(store.Open(path_)) << store.Error();
  EXPECT_TRUE(store.IsOpened());

  KPLPredSet set;
  set.name = "GLI 2012";
  ASSERT_EQ(store.Load(&set), KPLDataStore::DS_LOAD_OK);
  EXPECT_TRUE(set.IsLoaded());
  EXPECT_FALSE(set.IsModified());
  EXPECT_FALSE(set.authorChoices.IsModified());
  EXPECT_EQ(set.ageGroups.AgeGroupOf(95.9), 0);
  EXPECT_EQ(set.ageGroups.AgeGroupOf(96.0), 3);

  KPLPredAuthorsCollection authors;
  store.Load(&authors, 1);
  EXPECT_FALSE(authors.IsModified());
  KPLPredSelectedAuthorsCollection selected;
  selected.BuildSelectedAuthors(&set, &authors);
  // Five variables, value and SD, for both sexes in age group 0 only.
  EXPECT_EQ(selected.count, 5 * 2 * 2);
  const auto* fev1 = selected.Find(4, 0, 2, 0);
  ASSERT_NE(fev1, nullptr);
  EXPECT_NE(fev1->EquationForRace(2).find("GLI_M_SPLINE_FEV1"), std::string::npos) << "single equation for every race";

  KPLPredSet unknown;
  unknown.name = "Nonexistent";
  EXPECT_EQ(store.Load(&unknown), KPLDataStore::DS_LOAD_NOT_FOUND);

  KPLVariablesCollection variables;
  EXPECT_EQ(store.Load(&variables, 1), KPLDataStore::DS_LOAD_BAD_ARGUMENT) << "no selector set";
  variables.variableSet = 254;
  ASSERT_EQ(store.Load(&variables, 1), KPLDataStore::DS_LOAD_OK);
  ASSERT_GT(variables.count, 100);
  bool fotSource = false;
  for (const auto& v : variables.Items()) fotSource = fotSource || v.HasFOTSource();
  EXPECT_TRUE(fotSource) << "the FOT variables carry their source";
}

TEST_F(StoreTest, AFailedImportChangesNothing) {
  // Valid on its own, but the catalogue's second variable repeats a number:
  // the write fails after the set was written, inside the same transaction.
  auto pf = std::get<kplstore::PfSetFile>(files_[2]);
  pf.set.name = "Fresh";
  kplstore::VariableCatalogue bad;
  bad.variableSet = 254;
  bad.variables.resize(2);
  bad.variables[0].variableNumber = bad.variables[1].variableNumber = 7;
  EXPECT_FALSE(db_.Import({ContentFile(pf), ContentFile(bad)}));
  EXPECT_NE(db_.Error().find("UNIQUE"), std::string::npos) << db_.Error();
  EXPECT_FALSE(db_.ReadPfSet("Fresh"));
  EXPECT_GT(db_.ReadCatalogue(254).variables.size(), 100u) << "the catalogue is the old one";
}

TEST_F(StoreTest, ReplacingAnAuthorKeepsItsPlace) {
  auto authorsBefore = db_.ReadPfAuthors();
  ASSERT_GE(authorsBefore.size(), 2u);
  auto pf = std::get<kplstore::PfSetFile>(files_[2]);
  auto& first = pf.authors.front();
  first.name += " (revised)";
  first.equations.pop_back();
  ASSERT_TRUE(db_.Import({ContentFile(pf)}));
  auto authorsAfter = db_.ReadPfAuthors();
  ASSERT_EQ(authorsAfter.size(), authorsBefore.size());
  const auto at = std::find_if(authorsAfter.begin(), authorsAfter.end(), [&](const auto& a) { return a.guid == first.guid; });
  const auto was = std::find_if(authorsBefore.begin(), authorsBefore.end(), [&](const auto& a) { return a.guid == first.guid; });
  EXPECT_EQ(at - authorsAfter.begin(), was - authorsBefore.begin());
  EXPECT_EQ(*at, first);
}

TEST(StoreOpen, RefusesWhatIsNotAStoreAndWritesNothing) {
  TempDir dir;
  struct Case {
    const char* label;
    std::function<std::string()> make;  // the file's path
    StoreDatabase::OpenMode mode;
    const char* error;
  } cases[] = {
      {"missing", [&] { return dir.File("missing.db"); }, StoreDatabase::OpenMode::kExisting, "no such file"},
      {"text", [&] { return dir.Write("text.db", "hello, not a database\n"); }, StoreDatabase::OpenMode::kCreate,
       "file is not a database"},
      {"foreign", [&] {
         const std::string p = dir.File("foreign.db");
         EXPECT_EQ(std::system(("sqlite3 '" + p + "' 'CREATE TABLE t(x)'").c_str()), 0);
         return p;
       }, StoreDatabase::OpenMode::kCreate, "not a predicted-set store"},
      {"newer", [&] {
         const std::string p = dir.File("newer.db");
         EXPECT_EQ(std::system(("sqlite3 '" + p + "' 'CREATE TABLE t(x); PRAGMA user_version=7'").c_str()), 0);
         return p;
       }, StoreDatabase::OpenMode::kExisting, "schema version 7 is newer than this program's (1)"},
  };
  for (const auto& c : cases) {
    const std::string path = c.make();
    const std::string before = TempDir::Read(path);
    StoreDatabase db;
    EXPECT_FALSE(db.Open(path, c.mode)) << c.label;
    EXPECT_NE(db.Error().find(c.error), std::string::npos) << c.label << ": " << db.Error();
    EXPECT_NE(db.Error().find(path), std::string::npos) << c.label << ": the message names the file";
    EXPECT_EQ(TempDir::Read(path), before) << c.label;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing.db")));
}

TEST(StoreOpen, ALockHeldElsewhereIsAClearError) {
  TempDir dir;
  const std::string path = dir.File("s.db");
  {
    StoreDatabase db;
    ASSERT_TRUE(db.Open(path, StoreDatabase::OpenMode::kCreate));
  }
  kpl::platform::SqliteDb holder;
  ASSERT_TRUE(holder.Open(path, kpl::platform::SqliteDb::Mode::kReadWrite, 0));
  ASSERT_TRUE(holder.Exec("BEGIN EXCLUSIVE"));
  StoreDatabase db;
  if (db.Open(path, StoreDatabase::OpenMode::kExisting, 50)) {
    EXPECT_FALSE(db.Import(DefaultFiles()));
    EXPECT_NE(db.Error().find("locked"), std::string::npos) << db.Error();
  } else {
    EXPECT_NE(db.Error().find("locked"), std::string::npos) << db.Error();
  }
  ASSERT_TRUE(holder.Exec("ROLLBACK"));
}

TEST(StoreOpen, ReadOnlyStoreRefusesImports) {
  TempDir dir;
  const std::string path = dir.File("s.db");
  {
    StoreDatabase db;
    ASSERT_TRUE(db.Open(path, StoreDatabase::OpenMode::kCreate));
    ASSERT_TRUE(db.Import(DefaultFiles()));
  }
  StoreDatabase db;
  ASSERT_TRUE(db.Open(path, StoreDatabase::OpenMode::kReadOnly));
  EXPECT_TRUE(db.IsReadOnly());
  EXPECT_FALSE(db.Import(DefaultFiles()));
  EXPECT_EQ(db.Error(), "store " + path + " is read-only");
  EXPECT_TRUE(db.ReadPfSet("Default"));
}

// A reader in another process sees a set before or after an import, never
// between: the set's choices are either all old or all new.
TEST(StoreConcurrency, ReadersSeeWholeImports) {
  TempDir dir;
  const std::string path = dir.File("s.db");
  auto files = DefaultFiles();
  auto small = std::get<kplstore::PfSetFile>(files[2]);
  auto large = small;
  small.set.authorChoices.resize(3);
  small.set.raceCorrections.clear();
  {
    StoreDatabase db;
    ASSERT_TRUE(db.Open(path, StoreDatabase::OpenMode::kCreate));
    ASSERT_TRUE(db.Import({ContentFile(small)}));
  }
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    StoreDatabase db;
    if (!db.Open(path, StoreDatabase::OpenMode::kReadOnly, 10000)) _exit(2);
    for (int i = 0; i < 300; ++i) {
      auto set = db.ReadPfSet(small.set.name);
      if (!set) _exit(3);
      const bool old = set->authorChoices == small.set.authorChoices && set->raceCorrections.empty();
      const bool fresh = set->authorChoices == large.set.authorChoices && set->raceCorrections == large.set.raceCorrections;
      if (!old && !fresh) _exit(1);
    }
    _exit(0);
  }
  StoreDatabase writer;
  ASSERT_TRUE(writer.Open(path, StoreDatabase::OpenMode::kExisting, 10000));
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(writer.Import({ContentFile(i % 2 ? small : large)})) << writer.Error();
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: a half-written set was seen; 2/3: the reader could not read";
}

}  // namespace
