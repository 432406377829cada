// kplpredicted store init | list | export | import | check
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <system_error>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "KPLClassLibrary/KplGlobal.h"
#include "KPLDomainObjects/KPLGXPredSelectedAuthorsCollection.h"
#include "KPLDomainObjects/KPLGXPredSet.h"
#include "KPLDomainObjects/KPLPredSelectedAuthorsCollection.h"
#include "KPLDomainObjects/KPLPredSet.h"
#include "KPLPlatform/FileSystem.h"
#include "KPLPredicted/KplFormula.h"
#include "KPLSqliteStore/DefaultContent.h"
#include "KPLSqliteStore/KPLSqliteStore.h"
#include "KPLSqliteStore/StoreDatabase.h"
#include "tools/kplpredicted/Commands.h"

namespace kplcli {

std::string DefaultStorePath() { return kpl::platform::DefaultDataFolder() + "predicted.db"; }

kplstore::FormulaChecker ParseChecker() {
  return [](std::string_view formula) -> std::string {
    const KplFormulaResult result = EvaluateFormula(formula);
    switch (result.error) {
      case KplFormulaError::kNone:
      case KplFormulaError::kDivisionByZero:  // the value's business, not the text's
      case KplFormulaError::kDomain:
      case KplFormulaError::kOverflow:
        return {};
      default:
        return DescribeFormulaError(result, formula);
    }
  };
}

namespace {

using kplstore::StoreDatabase;

struct StoreOptions {
  std::string store;
  std::string name;
  std::string output;
  std::string input;
  bool force = false;
  bool gx = false;
};

std::string StorePath(const StoreOptions& o) { return o.store.empty() ? DefaultStorePath() : o.store; }

int Error(const std::string& message) {
  std::fprintf(stderr, "kplpredicted: %s\n", message.c_str());
  return 1;
}

void PrintProblems(const std::string& file, const std::vector<kplstore::Problem>& problems) {
  for (const auto& p : problems)
    std::fprintf(stderr, "%s: %s%s%s\n", file.c_str(), p.where.c_str(), p.where.empty() ? "" : ": ", p.what.c_str());
}

int Init(const StoreOptions& o) {
  namespace fs = std::filesystem;
  const std::string path = StorePath(o);
  std::error_code ec;
  if (fs::exists(path, ec) && !o.force)
    return Error("store " + path + " exists; use --force to replace it");

  std::vector<kplstore::ContentFile> files;
  for (const auto& embedded : kplstore::DefaultContent()) {
    std::vector<kplstore::Problem> problems;
    auto content = kplstore::ReadContentText(embedded.text, ParseChecker(), problems);
    if (!content) {
      PrintProblems(embedded.name, problems);
      return Error("the built-in content is invalid");
    }
    files.push_back(std::move(*content));
  }
  // Built beside the target and renamed over it: an existing store is never half replaced.
  const std::string temporary = path + ".new-" + std::to_string(::getpid());
  fs::remove(temporary, ec);
  {
    StoreDatabase db;
    if (!db.Open(temporary, StoreDatabase::OpenMode::kCreate) || !db.Import(files)) {
      const std::string why = db.Error();
      db.Close();
      fs::remove(temporary, ec);
      return Error(why);
    }
  }
  fs::rename(temporary, path, ec);
  if (ec) {
    fs::remove(temporary, ec);
    return Error("cannot create store " + path + ": " + ec.message());
  }
  std::printf("created store %s\n", path.c_str());
  return 0;
}

int List(const StoreOptions& o) {
  StoreDatabase db;
  if (!db.Open(StorePath(o), StoreDatabase::OpenMode::kReadOnly)) return Error(db.Error());
  for (const auto& s : db.ListSets())
    std::printf("%s  %-24s %s  %zu author choices\n", s.kind.c_str(), s.name.c_str(), s.guid.c_str(), s.authorChoices);
  const auto pf = db.ReadCatalogue(254).variables.size();
  const auto gx = db.ReadCatalogue(253).variables.size();
  std::printf("variables: %zu PF, %zu GX\n", pf, gx);
  return 0;
}

int Export(const StoreOptions& o) {
  StoreDatabase db;
  if (!db.Open(StorePath(o), StoreDatabase::OpenMode::kReadOnly)) return Error(db.Error());
  std::optional<kplstore::ContentFile> content;
  if (o.gx) {
    if (auto f = db.ReadGxSetFile(o.name)) content = std::move(*f);
  } else {
    if (auto f = db.ReadPfSetFile(o.name)) content = std::move(*f);
  }
  if (!content) {
    return Error(db.Error().empty() ? std::string(o.gx ? "Unknown GX Predicted Set: " : "Unknown Predicted Set: ") +
                                          o.name + "."
                                    : db.Error());
  }
  const std::string text = kplstore::WriteContent(*content).dump(2) + "\n";
  if (o.output == "-") {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  }
  std::ofstream out(o.output, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) return Error("cannot write " + o.output);
  std::printf("exported %s set \"%s\" to %s\n", o.gx ? "GX" : "PF", o.name.c_str(), o.output.c_str());
  return 0;
}

int Import(const StoreOptions& o) {
  std::ifstream in(o.input, std::ios::binary);
  if (!in) return Error("cannot read " + o.input);
  std::stringstream text;
  text << in.rdbuf();
  std::vector<kplstore::Problem> problems;
  auto content = kplstore::ReadContentText(text.str(), ParseChecker(), problems);
  if (!content) {
    PrintProblems(o.input, problems);
    return Error(std::to_string(problems.size()) + " problem(s) in " + o.input + "; nothing was imported");
  }
  StoreDatabase db;
  if (!db.Open(StorePath(o), StoreDatabase::OpenMode::kExisting)) return Error(db.Error());
  if (!db.Import({*content})) return Error(db.Error());
  std::printf("imported %s into %s\n", o.input.c_str(), StorePath(o).c_str());
  return 0;
}

// Loads every set as the calculators do and reports what they would miss.
int Check(const StoreOptions& o) {
  const std::string path = StorePath(o);
  StoreDatabase db;
  if (!db.Open(path, StoreDatabase::OpenMode::kReadOnly)) return Error(db.Error());
  KPLSqliteStore store;
  if (!store.Open(path)) return Error(store.Error());

  std::vector<std::string> problems;
  const kplstore::FormulaChecker checker = ParseChecker();
  auto previous = SetAssertionInterceptor([&](const KplAssertionReport& report) {
    problems.push_back(report.message);
    return true;
  });
  for (bool gx : {false, true}) {
    std::set<std::int32_t> catalogue;
    for (const auto& v : db.ReadCatalogue(gx ? 253 : 254).variables) catalogue.insert(v.variableNumber);
    // Every equation text of every author parses.
    auto checkTexts = [&](const auto& authors) {
      for (const auto& a : authors)
        for (const auto& q : a.equations)
          for (const auto& text : q.equations)
            if (auto p = kplstore::CheckEquation(text, gx, checker); !p.empty())
              problems.push_back(std::string(gx ? "GX" : "PF") + " author " + a.name + ", variable " +
                                 std::to_string(q.variableNumber) + ": " + p);
    };
    if (gx) {
      checkTexts(db.ReadGxAuthors());
    } else {
      checkTexts(db.ReadPfAuthors());
    }
    for (const auto& listing : db.ListSets()) {
      if ((listing.kind == "gx") != gx) continue;
      const std::string where = std::string(gx ? "GX" : "PF") + " set \"" + listing.name + "\"";
      if (gx) {
        KPLGXPredSet set;
        set.name = listing.name;
        KPLGXPredAuthorsCollection authors;
        if (store.Load(&set) != KPLDataStore::DS_LOAD_OK) {
          problems.push_back(where + " cannot be loaded");
          continue;
        }
        (void)store.Load(&authors, 1);
        KPLGXPredSelectedAuthorsCollection selected;
        selected.BuildSelectedAuthors(&set, &authors);
        for (const auto& choice : set.authorChoices.Items()) {
          if (!catalogue.count(choice.variableNumber))
            problems.push_back(where + ": variable " + std::to_string(choice.variableNumber) + " is not in the catalogue");
          for (int sex = 1; sex <= 2; ++sex)
            for (int ag = 0; ag < 4; ++ag) {
              const auto& guid = choice.authorGuids[static_cast<std::size_t>(4 * (sex - 1) + ag)];
              if (guid.empty()) continue;
              const auto* entry = selected.Find(choice.variableNumber, sex, ag);
              if (!entry || entry->equation.empty())
                problems.push_back(KplFormat("%s: variable %d, %s, age group %d: no equation", where.c_str(),
                                             choice.variableNumber, sex == 1 ? "male" : "female", ag));
            }
        }
      } else {
        KPLPredSet set;
        set.name = listing.name;
        KPLPredAuthorsCollection authors;
        if (store.Load(&set) != KPLDataStore::DS_LOAD_OK) {
          problems.push_back(where + " cannot be loaded");
          continue;
        }
        (void)store.Load(&authors, 1);
        KPLPredSelectedAuthorsCollection selected;
        selected.BuildSelectedAuthors(&set, &authors);
        for (const auto& choice : set.authorChoices.Items()) {
          if (!catalogue.count(choice.variableNumber))
            problems.push_back(where + ": variable " + std::to_string(choice.variableNumber) + " is not in the catalogue");
          for (int sex = 1; sex <= 2; ++sex)
            for (int ag = 0; ag < 3; ++ag) {
              const auto& guid = choice.authorGuids[static_cast<std::size_t>(3 * (sex - 1) + ag)];
              if (guid.empty()) continue;
              const auto* entry = selected.Find(choice.variableNumber, 0, sex, ag);
              for (int race : {1, 2, 3, 4}) {
                if (!entry || entry->EquationForRace(race).empty()) {
                  problems.push_back(KplFormat("%s: variable %d, %s, age group %d, race %d: no predicted-value equation",
                                               where.c_str(), choice.variableNumber, sex == 1 ? "male" : "female",
                                               ag, race));
                  break;
                }
              }
            }
        }
      }
    }
  }
  SetAssertionInterceptor(std::move(previous));
  for (const auto& p : problems) std::printf("%s\n", p.c_str());
  if (!problems.empty()) {
    std::fprintf(stderr, "kplpredicted: %zu problem(s) in store %s\n", problems.size(), path.c_str());
    return 1;
  }
  std::printf("store %s: no problems\n", path.c_str());
  return 0;
}

}  // namespace

void AddStoreCommands(CLI::App& app) {
  auto o = std::make_shared<StoreOptions>();
  auto* store = app.add_subcommand("store", "Create, list, export, import and check the predicted-set store");
  store->require_subcommand(1);
  const std::string storeHelp = "Store file (default: " + DefaultStorePath() + ")";

  auto* init = store->add_subcommand("init", "Create the store with the default content");
  init->add_option("--store", o->store, storeHelp);
  init->add_flag("--force", o->force, "Replace an existing file");
  init->callback([o] { SetExitStatus(Init(*o)); });

  auto* list = store->add_subcommand("list", "List the predicted sets");
  list->add_option("--store", o->store, storeHelp);
  list->callback([o] { SetExitStatus(List(*o)); });

  auto* exp = store->add_subcommand("export", "Write one predicted set with its authors as JSON");
  exp->add_option("NAME", o->name, "Predicted set name")->required();
  exp->add_flag("--gx", o->gx, "A GX (exercise) set; PF otherwise");
  exp->add_option("-o,--output", o->output, "Output file (- for standard output)")->required();
  exp->add_option("--store", o->store, storeHelp);
  exp->callback([o] { SetExitStatus(Export(*o)); });

  auto* imp = store->add_subcommand("import", "Check a JSON file and write it into the store in one transaction");
  imp->add_option("FILE", o->input, "Predicted-set or catalogue file")->required();
  imp->add_option("--store", o->store, storeHelp);
  imp->callback([o] { SetExitStatus(Import(*o)); });

  auto* check = store->add_subcommand("check", "Load every set and report what a calculation would miss");
  check->add_option("--store", o->store, storeHelp);
  check->callback([o] { SetExitStatus(Check(*o)); });
}

}  // namespace kplcli
