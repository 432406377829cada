// kplpredicted calculate VISIT.json: the main job.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>

#include <nlohmann/json.hpp>

#include "KPLClassLibrary/KPLRegistry.h"
#include "KPLDomainObjects/KPLPredSet.h"
#include "KPLDomainObjects/KPLTestType.h"
#include "KPLDomainObjects/KPLVariablesCollection.h"
#include "KPLPredicted/KPLPredDlg.h"
#include "KPLPredicted/KPLPredicted.h"
#include "KPLSqliteStore/KPLSqliteStore.h"
#include "tools/kplpredicted/CliSettings.h"
#include "tools/kplpredicted/Commands.h"
#include "tools/kplpredicted/VisitJson.h"

namespace kplcli {
namespace {

struct CalculateOptions {
  std::string visitFile;
  std::string type = "pf";
  std::string store;
  std::string settings;
  bool json = false;
  bool all = false;
};

// One computed variable of the visit.
struct Row {
  std::int32_t testType;
  std::int32_t variable;
  std::string name;
  std::string unit;
  int decimals;
  double predicted;
  double sd;
  std::optional<double> measured;
};

bool HasGridLabel(std::int32_t testType) { return CKPLPredDlg::TestLabel(testType) != nullptr; }

bool Usable(double v) { return std::isfinite(v) && v != std::numeric_limits<double>::max(); }

std::vector<Row> Collect(KPLVisit& visit, const KPLVariablesCollection& variables, bool all) {
  std::vector<Row> rows;
  for (const auto& v : variables.Items()) {
    if (!HasGridLabel(v.testType)) continue;
    KPLPFEffortsCollection* efforts = visit.EffortsCollection(v.testType);
    if (!efforts) continue;
    const KPLPFEffort* pred = efforts->FindPredEffort();
    const KPLPFEffort* sd = efforts->FindSDEffort();
    if (!pred || !sd) continue;
    Row row{v.testType, v.variableNumber, v.name, v.text2, v.decimals,
            pred->GetVariable(v.variableNumber), sd->GetVariable(v.variableNumber), std::nullopt};
    if (const KPLPFEffort* reporting = efforts->FindFirstReportingEffort()) {
      const double m = reporting->GetVariable(v.variableNumber);
      if (Usable(m) && m != 0.0) row.measured = m;
    }
    // Without an equation or a derivation both stay 0: nothing was computed.
    if (!all && row.predicted == 0.0 && row.sd == 0.0) continue;
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string Fixed(double v, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
  return buffer;
}

void PrintTable(const std::vector<Row>& rows, const std::string& setName) {
  std::printf("PF predicted values, set \"%s\"\n", setName.c_str());
  std::printf("%-10s %5s  %-34s %10s %9s  %-14s %10s %7s %7s\n", "Test", "Var", "Name", "Predicted", "SD", "Unit",
              "Measured", "%Pred", "Z");
  for (const auto& r : rows) {
    const int d = std::min(r.decimals, 6);
    std::string measured = "", percent = "", z = "";
    if (r.measured) {
      measured = Fixed(*r.measured, d);
      if (r.predicted != 0) percent = Fixed(*r.measured / r.predicted * 100.0, 0);
      if (r.sd > 0) z = Fixed((*r.measured - r.predicted) / r.sd, 2);
    }
    std::printf("%-10s %5d  %-34.34s %10s %9s  %-14.14s %10s %7s %7s\n",
                std::string(CKPLPredDlg::TestLabel(r.testType)).c_str(), r.variable, r.name.c_str(),
                Fixed(r.predicted, d).c_str(), Fixed(r.sd, d).c_str(), r.unit.c_str(), measured.c_str(),
                percent.c_str(), z.c_str());
  }
}

void PrintJson(const std::vector<Row>& rows, const std::string& setName) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const auto& r : rows) {
    nlohmann::ordered_json j;
    j["testType"] = r.testType;
    j["test"] = std::string(CKPLPredDlg::TestLabel(r.testType));
    j["variable"] = r.variable;
    j["name"] = r.name;
    j["predicted"] = r.predicted;
    j["sd"] = r.sd;
    j["unit"] = r.unit;
    if (r.measured) {
      j["measured"] = *r.measured;
      if (r.predicted != 0) j["percentPredicted"] = *r.measured / r.predicted * 100.0;
      if (r.sd > 0) j["zScore"] = (*r.measured - r.predicted) / r.sd;
    }
    list.push_back(std::move(j));
  }
  nlohmann::ordered_json out;
  out["predSetName"] = setName;
  out["pf"] = std::move(list);
  std::printf("%s\n", out.dump(2).c_str());
}

int Calculate(const CalculateOptions& o) {
  if (o.type != "pf") {
    std::fprintf(stderr, "kplpredicted: GX predicted values are not available yet; use --type pf\n");
    return 2;
  }
  std::ifstream in(o.visitFile, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "kplpredicted: cannot read visit %s\n", o.visitFile.c_str());
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::vector<std::string> errors;
  auto doc = ReadVisitText(text.str(), errors);
  if (!doc) {
    for (const auto& e : errors) std::fprintf(stderr, "%s: %s\n", o.visitFile.c_str(), e.c_str());
    std::fprintf(stderr, "kplpredicted: the visit %s is not valid; nothing was calculated\n", o.visitFile.c_str());
    return 1;
  }

  InstallSettings(o.settings);
  KPLRegistry settings;
  settings.Open();
  settings.Load();

  KPLSqliteStore store;
  const std::string storePath = o.store.empty() ? DefaultStorePath() : o.store;
  if (!store.Open(storePath)) {
    std::fprintf(stderr, "kplpredicted: %s\n", store.Error().c_str());
    return 1;
  }
  // The calculator's own message for an unknown set goes to a prompt; say it here, and fail.
  const std::string setName = doc->visit.predSetName.empty() ? "Default" : doc->visit.predSetName;
  {
    KPLPredSet probe;
    probe.name = setName;
    if (store.Load(&probe) != KPLDataStore::DS_LOAD_OK) {
      std::fprintf(stderr, "kplpredicted: Unknown Predicted Set: %s.\n", setName.c_str());
      return 1;
    }
  }

  CKPLPredictedDll entry;
  entry.Calculate(&store, &settings, &doc->visit, CKPLPredictedDll::PRED_PF);

  KPLVariablesCollection variables;
  variables.variableSet = 254;
  (void)store.Load(&variables, 1);
  const auto rows = Collect(doc->visit, variables, o.all);
  if (o.json) {
    PrintJson(rows, setName);
  } else {
    PrintTable(rows, setName);
  }
  return 0;
}

}  // namespace

void AddCalculateCommand(CLI::App& app) {
  auto o = std::make_shared<CalculateOptions>();
  auto* calc = app.add_subcommand("calculate", "Compute the predicted values and SDs of a visit");
  calc->add_option("VISIT", o->visitFile, "Visit JSON file (see data/examples)")->required();
  calc->add_option("--type", o->type, "pf, gx or both")->check(CLI::IsMember({"pf", "gx", "both"}));
  calc->add_option("--store", o->store, "Store file (default: " + DefaultStorePath() + ")");
  calc->add_option("--settings", o->settings, "Settings file (default: " + DefaultSettingsPath() + ")");
  calc->add_flag("--json", o->json, "Print JSON");
  calc->add_flag("--all", o->all, "Also list variables the set gives no value (predicted and SD 0)");
  calc->callback([o] { SetExitStatus(Calculate(*o)); });
}

}  // namespace kplcli
