// Test support for the PF calculator: a memory store with one predicted set
// "Default" and one author whose equations the tests write, a settings record
// in kilograms, centimeters and SI units, and a 45-year-old Caucasian man of
// 170 cm and 70 kg. Reports and prompts are captured while it lives.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "KPLClassLibrary/KPLRegistry.h"
#include "KPLClassLibrary/KplHeight.h"
#include "KPLClassLibrary/KplWeight.h"
#include "KPLDomainObjects/KPLGenericEffort.h"
#include "KPLDomainObjects/KPLPatient.h"
#include "KPLDomainObjects/KPLPredVariable.h"
#include "KPLDomainObjects/KPLVisit.h"
#include "KPLPlatform/Installed.h"
#include "KPLPlatform/Prompt.h"
#include "support/MemoryStore.h"
#include "support/ReportCapture.h"

namespace kpl::testing {

class PredFixture {
 public:
  static constexpr const char* kAuthorGuid = "{0A0A0A0A-0000-0000-0000-000000000001}";
  static constexpr const char* kAuthorName = "Test Author";
  static constexpr int kAllRaces = -1;

  PredFixture() {
    registry.nWeightUnit = KPLWeight::kKilogram;
    registry.nHeightUnit = KPLHeight::kCentimeter;
    registry.nWeightDecimals = 1;
    registry.nHeightDecimals = 1;
    registry.nSIUnit = 1;
    registry.nSpeedUnit = 4;
    registry.nTemperatureUnit = 2;
    registry.strExecutablePath = "/nonexistent-kpl-folder/";

    KPLPredSet set;
    set.name = "Default";
    set.ageGroups.ageRanges = {{{0, 17}, {18, 99}, {-1, -1}}};
    store.predSets.push_back(set);

    KPLPredAuthor author;
    author.name = kAuthorName;
    author.guid.Set(kAuthorGuid);
    author.singleEquation = false;
    author.siUnits = true;
    store.predAuthors.Append(author);

    patient.sex = KPLPatient::kMale;
    patient.race = KPLPatient::kCaucasian;
    visit.patient = &patient;
    visit.age = 45.0f;
    visit.height = 170.0f;
    visit.weight = 70.0f;
  }
  PredFixture(const PredFixture&) = delete;
  PredFixture& operator=(const PredFixture&) = delete;

  KPLPredSet& Set() { return store.predSets.front(); }
  KPLPredAuthor& Author() { return store.predAuthors.Items().front(); }

  // A PF variable definition, appended in collection order.
  void AddVariable(std::int32_t number, std::int32_t testType, const std::string& source = "",
                   const std::string& name = "") {
    KPLVariable variable;
    variable.variableNumber = number;
    variable.testType = testType;
    variable.name = name.empty() ? "V" + std::to_string(number) : name;
    variable.source = source;
    variable.decimals = 2;
    store.pfVariables.Append(variable);
  }

  // The equation of a variable and kind for one race group (0 … 3, or
  // kAllRaces), both sexes and every age group; the set chooses the author.
  void SetEquation(std::int32_t number, std::int32_t kind, const std::string& equation, int raceGroup = kAllRaces) {
    for (int sex = 1; sex <= 2; ++sex) {
      for (int ageGroup = 0; ageGroup < KPLPredVariable::kAgeGroups; ++ageGroup) {
        SetEquationFor(number, kind, raceGroup, sex, ageGroup, equation);
      }
    }
  }

  void SetEquationFor(std::int32_t number, std::int32_t kind, int raceGroup, int sex, int ageGroup,
                      const std::string& equation) {
    KPLPredVariable& record = Record(number, kind);
    for (int group = 0; group < KPLPredVariable::kRaceGroups; ++group) {
      if (raceGroup != kAllRaces && group != raceGroup) continue;
      record.equations[static_cast<std::size_t>(KPLPredVariable::EquationIndex(group, sex, ageGroup))] = equation;
    }
    Choose(number);
  }

  void SetRaceFactors(std::int32_t number, std::array<double, 4> factors) {
    KPLRaceCorrection correction;
    correction.variableNumber = number;
    correction.factors = factors;
    Set().raceCorrections.Append(correction);
  }

  // A reporting effort of a test holding one value.
  void AddObserved(std::int32_t testType, std::int32_t number, double value) {
    KPLGenericEffort effort(testType);
    effort.testType = testType;
    effort.roleInfo.roleCode = 2;
    effort.SetVariable(number, value);
    visit.EffortsCollection(testType)->Append(effort);
  }

  // The stored predicted value and SD; NaN when nothing was stored.
  double Predicted(std::int32_t testType, std::int32_t number) { return Stored(testType, number, false); }
  double SD(std::int32_t testType, std::int32_t number) { return Stored(testType, number, true); }
  bool HasPredicteds(std::int32_t testType) {
    KPLPFEffortsCollection* efforts = visit.EffortsCollection(testType);
    return efforts != nullptr && efforts->FindPredEffort() != nullptr;
  }

  std::shared_ptr<kpl::platform::RecordingPrompt> prompt = std::make_shared<kpl::platform::RecordingPrompt>();
  kpl::platform::ScopedInstall<kpl::platform::Prompt> installPrompt{prompt};
  ReportCapture reports;
  KPLMemoryStore store;
  KPLRegistry registry;
  KPLPatient patient;
  KPLVisit visit;

 private:
  KPLPredVariable& Record(std::int32_t number, std::int32_t kind) {
    for (KPLPredVariable& record : Author().equations.Items()) {
      if (record.variableNumber == number && record.kind == kind) return record;
    }
    KPLPredVariable record;
    record.variableNumber = number;
    record.kind = kind;
    Author().equations.Append(record);
    return Author().equations.Items().back();
  }

  void Choose(std::int32_t number) {
    for (const KPLPredSelectedAuthor2& choice : Set().authorChoices.Items()) {
      if (choice.variableNumber == number) return;
    }
    KPLPredSelectedAuthor2 choice;
    choice.variableNumber = number;
    choice.authorNames.fill(kAuthorName);
    choice.authorGuids.fill(kAuthorGuid);
    Set().authorChoices.Append(choice);
  }

  double Stored(std::int32_t testType, std::int32_t number, bool sd) {
    KPLPFEffortsCollection* efforts = visit.EffortsCollection(testType);
    if (efforts == nullptr) return std::nan("");
    const KPLPFEffort* effort = sd ? efforts->FindSDEffort() : efforts->FindPredEffort();
    if (effort == nullptr) return std::nan("");
    const auto* generic = dynamic_cast<const KPLGenericEffort*>(effort);
    if (generic != nullptr && !generic->HasVariable(number)) return std::nan("");
    return effort->GetVariable(number);
  }
};

}  // namespace kpl::testing
