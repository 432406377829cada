// The PF computation of whole visits on the default store: one visit, and a
// batch of generated visits (visits per second).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

#include "KPLClassLibrary/KPLRegistry.h"
#include "KPLDomainObjects/KPLPatient.h"
#include "KPLDomainObjects/KPLVisit.h"
#include "KPLPlatform/Installed.h"
#include "KPLPlatform/SettingsHive.h"
#include "KPLPredicted/KPLPredicted.h"
#include "KPLSqliteStore/KPLSqliteStore.h"

namespace {

struct Setup {
  KPLSqliteStore store;
  KPLRegistry settings;
  Setup() {
    kpl::platform::Installed<kpl::platform::SettingsHive>::Install(std::make_shared<kpl::platform::MemoryHive>());
    if (!store.Open(KPL_DEFAULT_STORE)) {
      std::fprintf(stderr, "%s\n", store.Error().c_str());
      std::abort();
    }
    settings.Open();
    settings.Load();
    settings.strExecutablePath = KPL_DATA_DIR;
    settings.bIgnoreAssertErrors = 1;
  }
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

struct Patient {
  float age, height, weight;
  int sex, race;
  const char* set;
};

double Run(const Patient& p) {
  KPLPatient patient;
  patient.sex = p.sex;
  patient.race = p.race;
  KPLVisit visit;
  visit.patient = &patient;
  visit.predSetName = p.set;
  visit.age = p.age;
  visit.height = p.height;
  visit.weight = p.weight;
  visit.barometricPressure = 760;
  CKPLPredictedDll().Calculate(&Shared().store, &Shared().settings, &visit, CKPLPredictedDll::PRED_PF);
  const KPLPFEffort* pred = visit.fvcEfforts.FindPredEffort();
  return pred ? pred->GetVariable(2) : 0.0;
}

void BM_OneVisit(benchmark::State& state, const char* set) {
  const Patient p{45.5f, 175.0f, 80.0f, 1, 1, set};
  double fvc = 0;
  for (auto _ : state) {
    fvc = Run(p);
    benchmark::DoNotOptimize(fvc);
  }
  // The work was done: a Caucasian man of 45.5 y and 175 cm has an FVC near 5 L.
  if (!(fvc > 4.5 && fvc < 5.5)) state.SkipWithError("wrong FVC");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_OneVisit, default_set, "Default")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OneVisit, gli2012_set, "GLI 2012")->Unit(benchmark::kMillisecond);

// 10,000 generated visits: both sexes, every race, ages 5 to 90, both PF sets.
void BM_Batch(benchmark::State& state) {
  std::mt19937 random(20261211);
  std::vector<Patient> patients;
  const int races[] = {1, 2, 3, 4, 5, 6, 7};
  for (int i = 0; i < 10000; ++i) {
    const float age = std::uniform_real_distribution<float>(5, 90)(random);
    const float height = std::uniform_real_distribution<float>(age < 16 ? 110.0f : 150.0f, 195.0f)(random);
    patients.push_back({age, height, height * height / 10000.0f * std::uniform_real_distribution<float>(17, 35)(random),
                        1 + i % 2, races[i % 7], i % 3 == 0 ? "GLI 2012" : "Default"});
  }
  std::size_t nonzero = 0;
  for (auto _ : state) {
    nonzero = 0;
    for (const auto& p : patients) nonzero += Run(p) > 0 ? 1 : 0;
  }
  if (nonzero < patients.size() / 2) state.SkipWithError("too few visits got an FVC");
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(patients.size()));
}
BENCHMARK(BM_Batch)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
