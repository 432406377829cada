#include "KPLPredicted/KPLPredDlg.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "KPLClassLibrary/KPLRegistry.h"
#include "KPLClassLibrary/KplGlobal.h"
#include "KPLClassLibrary/KplHeight.h"
#include "KPLClassLibrary/KplWeight.h"
#include "KPLDomainObjects/KPLDataStore.h"
#include "KPLDomainObjects/KPLFOTData.h"
#include "KPLDomainObjects/KPLPredVariable.h"
#include "KPLDomainObjects/KPLSplineTable.h"
#include "KPLDomainObjects/KPLVisit.h"
#include "KPLPlatform/Prompt.h"
#include "oscnorms/ReferenceCurves.h"

namespace {

constexpr const char* kModule = "KPLPredicted/KPLPredDlg";
constexpr const char* kDefaultPredSetName = "Default";

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }
constexpr std::uint32_t kWhite = Rgb(255, 255, 255);

// The tests that have rows in the grid: label and row colour.
struct TestRow {
  std::int32_t testType;
  const char* label;
  std::uint32_t color;
};
constexpr TestRow kTestRows[] = {
    {1, "FVC", Rgb(255, 218, 185)},        {2, "MVV", Rgb(255, 175, 175)},
    {3, "SVC", Rgb(123, 104, 238)},        {4, "DLCO", Rgb(152, 251, 152)},
    {5, "FRC (N2)", Rgb(64, 224, 208)},    {8, "ABG", Rgb(250, 250, 210)},
    {9, "MIP/MEP", Rgb(176, 196, 222)},    {10, "Static", Rgb(255, 160, 122)},
    {11, "Dynamic", Rgb(255, 228, 225)},   {12, "SBN2", Rgb(100, 149, 237)},
    {16, "Pleth", Rgb(255, 182, 122)},     {20, "P100", Rgb(176, 224, 230)},
    {21, "Delta CO2", Rgb(176, 224, 230)}, {25, "FOT", Rgb(100, 149, 237)},
};

const TestRow* FindTestRow(std::int32_t testType) {
  for (const TestRow& row : kTestRows) {
    if (row.testType == testType) return &row;
  }
  return nullptr;
}

// The row colour of a test; white, with a report for a type it does not know.
std::uint32_t TestColor(std::int32_t testType) {
  if (const TestRow* row = FindTestRow(testType)) return row->color;
  switch (testType) {
    case 0: case 13: case 15: case 17: case 18: case 19:
      return kWhite;
    default:
      KPL_REPORT(kModule, KplFormat("Invalid variable test type: %d.", testType));
      return kWhite;
  }
}

// The leading number of a text, 0 when there is none.
double ParseNumber(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// A value written with `decimals` decimals, rounded in place first.
std::string FormatRounded(double& value, std::int32_t decimals) {
  RoundToDecimalPlaces(&value, decimals);
  const std::string format = KplFormat("%%.%df", std::max(decimals, 0));
  return KplFormat(format.c_str(), value);
}

double Converted(const KPLHeight& from, std::int32_t unit) {
  KPLHeight height = from;
  height.ConvertTo(unit);
  return height.value;
}

double Converted(const KPLWeight& from, std::int32_t unit) {
  KPLWeight weight = from;
  weight.ConvertTo(unit);
  return weight.value;
}

void ReplaceAll(std::string& text, std::string_view name, const std::string& value) {
  for (auto at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size())) {
    text.replace(at, name.size(), value);
  }
}

void UpperCase(std::string& text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// An observed value of the first reporting effort of a test; 0 without one.
double ObservedValue(KPLVisit& visit, std::int32_t testType, std::int32_t variableNumber) {
  KPLPFEffortsCollection* efforts = visit.EffortsCollection(testType);
  if (efforts == nullptr) return 0.0;
  const KPLPFEffort* effort = efforts->FindFirstReportingEffort();
  if (effort == nullptr) return 0.0;
  const double value = effort->GetVariable(variableNumber);
  return value == KPLVariable::kNoValue ? 0.0 : value;
}

// The names an equation may use, in the order they are replaced: a longer
// name goes before any name it contains.
enum Token { kJhAge, kAgeAdjust, kAgeTrunc, kAge, kHeightInches, kHeightCm, kHeightMeters, kWeightPounds,
             kWeightKg, kBsa, kBmi, kYearsOfSmoking, kSmokeType, kArmSpan, kObsVA, kObsTGV, kObsVPANT, kVA,
             kTGV, kVPANT, kTokenCount };
constexpr std::string_view kTokenNames[] = {
    "JHAGE", "AGEADJUST", "AGETRUNC", "AGE", "HEIGHTINCHES", "HEIGHTCM", "HEIGHTMETERS",
    "WEIGHTPOUNDS", "WEIGHTKG", "BSA", "BMI", "YEARSOFSMOKING", "SMOKETYPE", "ARMSPAN",
    "OBSVA", "OBSTGV", "OBSVPANT", "VA", "TGV", "VPANT"};
static_assert(std::size(kTokenNames) == kTokenCount);

// Equations that name one of these use observed values of the visit.
constexpr std::string_view kObservedNames[] = {"OBSVA", "OBSTGV", "OBSVPANT", "VA", "TGV", "VPANT"};

constexpr std::int32_t kReferenceFrequencies = 11;  // 2, 4, …, 22 Hz
constexpr double kReferenceCoherence = 0.999;

}  // namespace

CKPLPredDlg::CKPLPredDlg(KPLDataStore* store, KPLRegistry* registry, KPLVisit* visit, void* /*parent*/)
    : store_(store), registry_(registry), visit_(visit) {
  if (visit_ != nullptr) predSet_.name = visit_->GetPredSetName();
  if (predSet_.name.empty()) predSet_.name = kDefaultPredSetName;
}

CKPLPredDlg::~CKPLPredDlg() = default;

void CKPLPredDlg::SetDLCOOnly(std::int32_t hbMethod, bool hbCorrection, bool altitudeCorrection) {
  dlcoOnly_ = true;
  hbMethod_ = hbMethod;
  hbCorrection_ = hbCorrection;
  altitudeCorrection_ = altitudeCorrection;
}

void CKPLPredDlg::SetPlethOnly() { plethOnly_ = true; }

std::int32_t CKPLPredDlg::DoModal() { return OnInitDialog(); }

std::int32_t CKPLPredDlg::OnInitDialog() {
  if (visit_ == nullptr) {
    KPL_REPORT(kModule, "No predicted visit");
    return kNoVisit;
  }
  if (store_ == nullptr || registry_ == nullptr) {
    KPL_REPORT(kModule, store_ == nullptr ? "No patient data store object" : "No registry object");
    return kUnknownPredSet;
  }
  KPLVariable::SetUnitSettings(registry_->nSIUnit, registry_->nSpeedUnit, registry_->nTemperatureUnit);
  state_.systemSI = registry_->nSIUnit == KPLVariable::kSI;

  selectedAuthors_.Clear();
  authors_.Clear();
  variables_.Clear();
  variables_.variableSet = KPLVariablesCollection::kPFVariables;

  const std::string name = predSet_.name;
  predSet_.Clear();
  predSet_.name = name;
  if (store_->Load(&predSet_) != KPLDataStore::DS_LOAD_OK) {
    kpl::platform::PromptRequest request;
    request.text = KplFormat("Unknown Predicted Set: %s.", name.c_str());
    kpl::platform::Ask(request);
    return kUnknownPredSet;
  }
  (void)store_->Load(&authors_, 1);
  variables_.variableSet = KPLVariablesCollection::kPFVariables;
  (void)store_->Load(&variables_, 1);
  selectedAuthors_.BuildSelectedAuthors(&predSet_, &authors_);

  weightUnit_ = registry_->nWeightUnit;
  heightUnit_ = registry_->nHeightUnit;
  sexCombo_.ResetContent();
  sexCombo_.AddString("Male", 1);
  sexCombo_.AddString("Female", 2);
  raceCombo_.ResetContent();
  for (const KPLPatient::Race race : KPLPatient::kRaceListOrder) {
    raceCombo_.AddString(std::string(KPLPatient::RaceDisplayName(race)), race);
  }

  LayOutGrid();
  FillControlsFromVisit();
  OnCompute();
  initialised_ = true;
  return kComputed;
}

void CKPLPredDlg::LayOutGrid() {
  firstIndexOfVariable_.clear();
  const auto items = variables_.Items();
  std::int32_t shown = 0;
  for (const KPLVariable& variable : items) {
    if (FindTestRow(variable.testType) != nullptr) ++shown;
  }
  grid_.SetMaxRow(2 * shown);
  grid_.SetMaxCol(kIndexCol);
  grid_.SetRow(0);
  static constexpr const char* kHeaders[] = {"Variable", "Value", "Author", "Formula", "Race Correction"};
  for (std::int32_t col = kLabelCol; col <= kRaceCol; ++col) {
    grid_.SetCol(col);
    grid_.SetText(kHeaders[col - 1]);
  }
  grid_.SetCol(kIndexCol);
  grid_.SetColHidden(true);

  std::int32_t row = 1;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const KPLVariable& variable = items[i];
    const TestRow* test = FindTestRow(variable.testType);
    if (test == nullptr) continue;  // no label, no rows
    const auto index = static_cast<std::int32_t>(i);
    firstIndexOfVariable_.try_emplace(variable.variableNumber, index);
    const std::string label = std::string(test->label) + " - " + variable.name;
    const std::string indexText = KplFormat("%d", index);
    for (int sd = 0; sd < 2; ++sd, ++row) {
      grid_.SetRow(row);
      grid_.SetCol(kLabelCol);
      grid_.SetText(sd == 0 ? label : label + " [sdv]");
      grid_.SetCol(kIndexCol);
      grid_.SetText(indexText);
      grid_.SetCol(kValueCol);
      grid_.SetDecimals(static_cast<std::int16_t>(std::min<int>(variable.decimals, 15)));
    }
    grid_.SetRow(row - 2);
    grid_.SetCol(kLabelCol);
    grid_.SetBlockMode(true);
    grid_.SetRow2(row - 1);
    grid_.SetCol2(kRaceCol);
    grid_.SetBlockColor(TestColor(variable.testType));
    grid_.SetBlockMode(false);
  }
  grid_.SetRow(1);
  grid_.SetCol(1);
}

void CKPLPredDlg::FillControlsFromVisit() {
  KPLVisit& visit = *visit_;
  state_.sex = visit.patient != nullptr ? visit.patient->sex : 0;
  state_.race = visit.patient != nullptr ? visit.patient->race : 0;

  state_.observedVA = ObservedValue(visit, KPLTestType::kDLCO, 106);
  state_.observedTGV = ObservedValue(visit, KPLTestType::kPleth, 75);
  state_.observedVPANT = ObservedValue(visit, KPLTestType::kPleth, 74);
  state_.hemoglobin = ObservedValue(visit, KPLTestType::kABG, 156);
  state_.hematocrit = ObservedValue(visit, KPLTestType::kABG, 170);
  state_.carboxyhemoglobin = ObservedValue(visit, KPLTestType::kABG, 163);

  double age = visit.AgeAtVisit();
  double bsa = visit.bsa;
  double bmi = visit.bmi;
  double yearsSmoked = visit.yearsSmoked;
  double yearsQuit = visit.yearsQuit;

  KPLWeight weight;
  weight.SetValue(visit.weight, KPLWeight::kKilogram);
  weightValue_ = Converted(weight, weightUnit_);
  KPLHeight height;
  height.SetValue(visit.height, KPLHeight::kCentimeter);
  heightValue_ = Converted(height, heightUnit_);
  KPLHeight armSpan;
  armSpan.SetValue(visit.armSpan, KPLHeight::kCentimeter);
  state_.armSpan = Converted(armSpan, heightUnit_);

  armSpanMode_ = state_.armSpan != 0 && heightValue_ == 0;
  SetControlText(armSpanMode_ ? kHeightEdit : kArmSpanEdit, "0");

  SetControlText(kAgeEdit, FormatRounded(age, 2));
  SetControlText(kWeightEdit, FormatRounded(weightValue_, registry_->nWeightDecimals));
  SetControlText(kHeightEdit, FormatRounded(heightValue_, registry_->nHeightDecimals));
  SetControlText(kArmSpanEdit, FormatRounded(state_.armSpan, registry_->nHeightDecimals));
  SetControlText(kBsaEdit, FormatRounded(bsa, 2));
  SetControlText(kBmiEdit, FormatRounded(bmi, 2));
  SetControlText(kYearsSmokedEdit, FormatRounded(yearsSmoked, 1));
  SetControlText(kYearsQuitEdit, FormatRounded(yearsQuit, 1));
  sexCombo_.SelectItemData(state_.sex);
  raceCombo_.SelectItemData(state_.race);
}

void CKPLPredDlg::UpdateBsaBmi() {
  float meters = static_cast<float>(ControlNumber(kHeightEdit));
  if (meters == 0.0f) {
    meters = static_cast<float>(HeightFromArmSpan(KPLHeight::kMeter));
  } else if (meters > 0.0f) {
    KPLHeight height;
    height.SetValue(meters, heightUnit_);
    meters = static_cast<float>(Converted(height, KPLHeight::kMeter));
  }
  float kilograms = static_cast<float>(ControlNumber(kWeightEdit));
  if (kilograms > 0.0f) {
    KPLWeight weight;
    weight.SetValue(kilograms, weightUnit_);
    kilograms = static_cast<float>(Converted(weight, KPLWeight::kKilogram));
  }
  const double bmi = meters > 0.2f ? kilograms / (meters * meters) : 0.0;
  const double bsa = meters > 0.0f && kilograms > 0.0f
                         ? 0.007184 * std::pow(100.0 * meters, 0.725) * std::pow(static_cast<double>(kilograms), 0.425)
                         : 0.0;
  SetControlText(kBsaEdit, KplFormat("%.2f", bsa));
  SetControlText(kBmiEdit, KplFormat("%.2f", bmi));
}

double CKPLPredDlg::HeightFromArmSpan(std::int32_t unit) {
  KPLHeight span;
  span.SetValue(static_cast<float>(ControlNumber(kArmSpanEdit)), heightUnit_);
  const double a = Converted(span, unit);
  const std::int32_t sex = sexCombo_.GetSelectedData();
  const std::int32_t race = raceCombo_.GetSelectedData();
  const double age = ControlNumber(kAgeEdit);
  state_.age = age;
  const bool female = sex == KPLPatient::kFemale;
  if (a <= 0 || age < 9 || (female && age < 12)) return 0.0;

  // The ratio of arm span to standing height rises linearly from 1 at the
  // threshold age to its adult value at 16.
  const double threshold = female ? 12.0 : 9.0;
  const double factor = female ? 1.01 : (race == KPLPatient::kBlack ? 1.06 : 1.03);
  if (age >= 16) return a / factor;
  if (age == threshold) return a;
  return a / (1.0 + (factor - 1.0) * (age - threshold) / (16.0 - threshold));
}

void CKPLPredDlg::ReadInputs() {
  state_.age = ControlNumber(kAgeEdit);
  state_.wholeAge = std::floor(state_.age);
  state_.cappedAge = state_.age > 70 ? 70 : state_.age;
  state_.adjustedAge = state_.age >= 18 && state_.age <= 25 ? 25 : state_.age;
  state_.ageGroup = predSet_.ageGroups.AgeGroupOf(state_.age);

  KPLWeight weight;
  weight.SetValue(static_cast<float>(ControlNumber(kWeightEdit)), weightUnit_);
  state_.weightPounds = Converted(weight, KPLWeight::kPound);
  state_.weightKg = Converted(weight, KPLWeight::kKilogram);

  auto height = static_cast<float>(ControlNumber(kHeightEdit));
  if (height == 0.0f) height = static_cast<float>(HeightFromArmSpan(heightUnit_));
  KPLHeight h;
  h.SetValue(height, heightUnit_);
  if (height >= 0.0f) state_.heightInches = Converted(h, KPLHeight::kInch);
  state_.heightCm = Converted(h, KPLHeight::kCentimeter);
  state_.heightMeters = Converted(h, KPLHeight::kMeter);

  state_.bsa = ControlNumber(kBsaEdit);
  state_.bmi = ControlNumber(kBmiEdit);
  state_.yearsSmoked = ControlNumber(kYearsSmokedEdit);
  state_.yearsQuit = ControlNumber(kYearsQuitEdit);
  state_.smokeType = state_.yearsQuit != 0 ? 1 : (state_.yearsSmoked != 0 ? 2 : 0);
}

void CKPLPredDlg::BuildPredictedFOTData() {
  if (fotEffort_.HasData()) return;
  const ReferenceCurves curves(state_.age, state_.heightCm, state_.weightKg,
                               state_.sex == KPLPatient::kFemale ? 1 : 0);
  std::vector<double> frequencies, real, imag, coherence;
  for (std::int32_t k = 1; k <= kReferenceFrequencies; ++k) {
    const double frequency = 2.0 * k;
    frequencies.push_back(frequency);
    real.push_back(curves.GetRealReference(frequency));
    imag.push_back(curves.GetImagReference(frequency));
    coherence.push_back(kReferenceCoherence);
  }
  KPLFOTData data;
  data.dataType = KPLFOTData::kReference;
  data.SetFrequencies(frequencies);
  data.SetCoherence(coherence);
  data.SetRealValues(real);
  data.SetImagValues(imag);
  fotEffort_.Clear();
  fotEffort_.SetFOTData(data);
  fotEffort_.Calculate(visit_);
}

void CKPLPredDlg::IndexSelectedAuthors() {
  authorIndex_.clear();
  for (const KPLPredSelectedAuthor& entry : selectedAuthors_.Items()) {
    if (entry.sexGroup != state_.sex || entry.ageGroup != state_.ageGroup) continue;
    auto& slots = authorIndex_[entry.variableNumber];
    if (entry.kind == KPLPredVariable::kPredicted || entry.kind == KPLPredVariable::kStandardDeviation) {
      if (slots[static_cast<std::size_t>(entry.kind)] == nullptr) slots[static_cast<std::size_t>(entry.kind)] = &entry;
    }
    if (slots[2] == nullptr) slots[2] = &entry;
  }
}

const KPLPredSelectedAuthor* CKPLPredDlg::FindAuthor(std::int32_t variableNumber, std::int32_t kind) const {
  const auto found = authorIndex_.find(variableNumber);
  if (found == authorIndex_.end()) return nullptr;
  if (kind < 0) return found->second[2];
  if (kind > KPLPredVariable::kStandardDeviation) return nullptr;
  return found->second[static_cast<std::size_t>(kind)];
}

void CKPLPredDlg::OnCompute() {
  if (visit_ == nullptr || registry_ == nullptr) return;
  UpdateBsaBmi();
  state_.sex = sexCombo_.GetSelectedData();
  state_.enteredRace = raceCombo_.GetSelectedData();
  state_.race = state_.enteredRace == KPLPatient::kUnspecified ? KPLPatient::kCaucasian : state_.enteredRace;

  ReadInputs();
  IndexSelectedAuthors();
  BuildPredictedFOTData();
  if (state_.age != 0 && state_.heightCm != 0 && state_.weightKg != 0) {
    const std::string& folder = registry_->strExecutablePath;
    gliSplines_ = std::make_unique<KPLSplineTable>(folder + "CFG/GLI2012.cfg", state_.age, state_.sex,
                                                   state_.enteredRace, state_.heightCm, state_.weightKg);
    gliSplines_->SetTableKind(KPLSplineTable::kGli2012);
    stanojevicSplines_ = std::make_unique<KPLSplineTable>(folder + "CFG/StanojevicUpdate.cfg", state_.age,
                                                          state_.sex, state_.race, state_.heightCm,
                                                          state_.weightKg);
    stanojevicSplines_->SetTableKind(KPLSplineTable::kStanojevic);
  }

  for (int pass = 0; pass < 2; ++pass) {
    EquationPass();
    derived_.Run(*this);
  }
  gliSplines_.reset();
  stanojevicSplines_.reset();
  StoreResults();
}

void CKPLPredDlg::EquationPass() {
  state_.dlcoUsesObserved = false;
  state_.plethUsesObserved = false;

  std::array<std::string, kTokenCount> values;
  values[kJhAge] = FormatToken(state_.cappedAge);
  values[kAgeAdjust] = FormatToken(state_.adjustedAge);
  values[kAgeTrunc] = FormatToken(state_.wholeAge);
  values[kAge] = FormatToken(state_.age);
  values[kHeightInches] = FormatToken(state_.heightInches);
  values[kHeightCm] = FormatToken(state_.heightCm);
  values[kHeightMeters] = FormatToken(state_.heightMeters);
  values[kWeightPounds] = FormatToken(state_.weightPounds);
  values[kWeightKg] = FormatToken(state_.weightKg);
  values[kBsa] = FormatToken(state_.bsa);
  values[kBmi] = FormatToken(state_.bmi);
  values[kYearsOfSmoking] = FormatToken(state_.yearsSmoked);
  values[kSmokeType] = FormatToken(state_.smokeType);
  values[kArmSpan] = FormatToken(state_.armSpan);
  // Observed volumes, or the predicted ones where the visit has none.
  values[kObsVA] = FormatToken(state_.observedVA != 0 ? state_.observedVA : ReadPredicted(106));
  values[kObsTGV] = FormatToken(state_.observedTGV != 0 ? state_.observedTGV : ReadPredicted(75));
  values[kObsVPANT] = FormatToken(state_.observedVPANT != 0 ? state_.observedVPANT : ReadPredicted(74));
  values[kVA] = values[kObsVA];
  values[kTGV] = values[kObsTGV];
  values[kVPANT] = values[kObsVPANT];

  const std::int32_t rows = grid_.GetMaxRow();
  for (std::int32_t row = 1; row <= rows; ++row) {
    const KPLVariable* variable = VariableOfRow(row);
    if (variable == nullptr) continue;
    const std::int32_t number = variable->variableNumber;
    grid_.SetRow(row);
    grid_.SetCol(kAuthorCol);
    grid_.SetText(AuthorOf(number));

    const bool sdRow = row % 2 == 0;
    const std::int32_t kind = sdRow ? KPLPredVariable::kStandardDeviation : KPLPredVariable::kPredicted;
    const std::string raceFactor =
        sdRow ? std::string("1") : KplFormat("%1.2f", predSet_.raceCorrections.Factor(number, state_.race));
    grid_.SetCol(kRaceCol);
    grid_.SetText(raceFactor);

    const KPLPredSelectedAuthor* entry = FindAuthor(number, kind);
    std::string equation = entry != nullptr ? entry->EquationForRace(state_.race) : std::string();
    // "Caucasian" stands for the race-1 equation of the same entry, for this
    // row only: later rows keep the patient's race.
    if (entry != nullptr && EqualsIgnoringCase(equation, "Caucasian")) {
      equation = entry->EquationForRace(KPLPatient::kCaucasian);
    }
    const bool fotSource = variable->HasFOTSource();
    const bool noEquation = equation.empty();
    grid_.SetCol(kFormulaCol);
    grid_.SetText(fotSource ? std::string("Proprietary") : equation);

    UpperCase(equation);
    if (!equation.empty() && (variable->testType == KPLTestType::kDLCO || variable->testType == KPLTestType::kPleth)) {
      const bool observed = std::any_of(std::begin(kObservedNames), std::end(kObservedNames),
                                        [&](std::string_view name) { return equation.find(name) != std::string::npos; });
      if (observed) (variable->testType == KPLTestType::kDLCO ? state_.dlcoUsesObserved : state_.plethUsesObserved) = true;
    }
    if (!equation.empty() && equation.front() == '=') equation.erase(0, 1);
    for (int t = 0; t < kTokenCount; ++t) ReplaceAll(equation, kTokenNames[t], values[static_cast<std::size_t>(t)]);
    if (gliSplines_) {
      gliSplines_->SubstituteSplines(equation, number);
      stanojevicSplines_->SubstituteSplines(equation, number);
    }
    equation = "(" + equation + ") *" + raceFactor;
    std::string unitFactor = "1.0";
    if (state_.authorSI && !state_.systemSI) {
      unitFactor = FormatToken(1.0 / KPLVariable::SIFactor(number));
    } else if (!state_.authorSI && state_.systemSI) {
      unitFactor = FormatToken(KPLVariable::SIFactor(number));
    }
    equation = "(" + equation + ") *" + unitFactor;

    if (predSet_.ageGroups.vcUsesFvcEquation) {
      if (number == 2) fvcEquations_[static_cast<std::size_t>(kind)] = equation;
      if (number == 52) equation = fvcEquations_[static_cast<std::size_t>(kind)];
    }
    grid_.SetCol(kValueCol);
    grid_.SetFormula(equation);
    (void)grid_.CheckCell(kValueCol, row);

    // A variable of the reference curves without an equation takes the FOT
    // effort's value.
    if (fotSource && noEquation && !sdRow) {
      double value = fotEffort_.GetVariable(number);
      if (!std::isfinite(value) || value == KPLVariable::kNoValue) value = 0.0;
      grid_.SetValueText(KplFormat("%0.7f", value));
    }
  }
  visit_->dlcoPredictedsUseObserved = state_.dlcoUsesObserved ? 1 : 0;
  visit_->plethPredictedsUseObserved = state_.plethUsesObserved ? 1 : 0;
}

void CKPLPredDlg::StoreResults() {
  const std::int32_t rows = grid_.GetMaxRow();
  for (std::int32_t row = 1; row <= rows; row += 2) {
    const KPLVariable* variable = VariableOfRow(row);
    if (variable == nullptr) continue;
    const std::int32_t number = variable->variableNumber;
    if (dlcoOnly_ && number != 102 && number != 103 && number != 107) continue;
    if (plethOnly_ && number != 80 && number != 81) continue;
    const double predicted = variable->ToStoredUnits(ParseNumber(CellValueText(kValueCol, row)));
    const double sd = variable->ToStoredUnits(ParseNumber(CellValueText(kValueCol, row + 1)));
    visit_->SetPredicted(variable->testType, number, predicted, sd);
    if (number == 60) visit_->SetPredicted(KPLTestType::kDeltaCO2, 59, predicted, sd);
    if (number == 52 || number == 53 || number == 54) {
      for (const std::int32_t testType : {KPLTestType::kFRCN2, KPLTestType::kPleth, KPLTestType::kFVC}) {
        visit_->SetPredicted(testType, number, predicted, sd);
      }
    }
  }
}

std::int32_t CKPLPredDlg::RowOfVariable(std::int32_t variableNumber) const {
  const auto found = firstIndexOfVariable_.find(variableNumber);
  if (found == firstIndexOfVariable_.end()) return 0;
  return grid_.FindRow(kIndexCol, KplFormat("%d", found->second));
}

double CKPLPredDlg::ReadPredicted(std::int32_t variableNumber) {
  const std::int32_t row = RowOfVariable(variableNumber);
  return row == 0 ? 0.0 : ParseNumber(CellValueText(kValueCol, row));
}

void CKPLPredDlg::WritePredicted(std::int32_t variableNumber, double value) {
  const std::int32_t row = RowOfVariable(variableNumber);
  if (row == 0) return;
  SetCellValueText(kValueCol, row, KplFormat("%0.7f", value));
}

std::string CKPLPredDlg::PredictedText(std::int32_t variableNumber) {
  const std::int32_t row = RowOfVariable(variableNumber);
  return row == 0 ? std::string() : CellValueText(kValueCol, row);
}

void CKPLPredDlg::CopyValueTexts(std::int32_t fromVariable, std::int32_t toVariable) {
  const std::int32_t from = RowOfVariable(fromVariable);
  const std::int32_t to = RowOfVariable(toVariable);
  if (from == 0 || to == 0) return;
  for (std::int32_t k = 0; k < 2; ++k) SetCellValueText(kValueCol, to + k, CellValueText(kValueCol, from + k));
}

std::string CKPLPredDlg::AuthorOf(std::int32_t variableNumber) {
  const KPLPredSelectedAuthor* entry = FindAuthor(variableNumber, -1);
  if (entry == nullptr) return {};
  state_.authorSI = entry->author.siUnits;
  return entry->author.name;
}

const std::string& CKPLPredDlg::ControlText(ControlId id) const {
  static const std::string kEmpty;
  const auto found = controlTexts_.find(id);
  return found != controlTexts_.end() ? found->second : kEmpty;
}

std::string CKPLPredDlg::FormatToken(double value) { return KplFormat("%f", value); }

const char* CKPLPredDlg::TestLabel(std::int32_t testType) {
  const TestRow* row = FindTestRow(testType);
  return row != nullptr ? row->label : nullptr;
}

void CKPLPredDlg::SetControlText(ControlId id, const std::string& text) { controlTexts_[id] = text; }

double CKPLPredDlg::ControlNumber(ControlId id) const { return ParseNumber(ControlText(id)); }

std::string CKPLPredDlg::CellValueText(std::int32_t col, std::int32_t row) {
  const std::int32_t savedRow = grid_.GetRow();
  const std::int32_t savedCol = grid_.GetCol();
  grid_.SetRow(row);
  grid_.SetCol(col);
  std::string text = grid_.GetValueText();
  grid_.SetRow(savedRow);
  grid_.SetCol(savedCol);
  return text;
}

void CKPLPredDlg::SetCellValueText(std::int32_t col, std::int32_t row, const std::string& text) {
  const std::int32_t savedRow = grid_.GetRow();
  const std::int32_t savedCol = grid_.GetCol();
  grid_.SetRow(row);
  grid_.SetCol(col);
  grid_.SetValueText(text);
  grid_.SetRow(savedRow);
  grid_.SetCol(savedCol);
}

const KPLVariable* CKPLPredDlg::VariableOfRow(std::int32_t row) {
  const std::int32_t savedRow = grid_.GetRow();
  const std::int32_t savedCol = grid_.GetCol();
  grid_.SetRow(row);
  grid_.SetCol(kIndexCol);
  const std::string text = grid_.GetText();
  grid_.SetRow(savedRow);
  grid_.SetCol(savedCol);
  std::int32_t index = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
  const auto items = variables_.Items();
  if (error != std::errc() || end != text.data() + text.size() || index < 0 ||
      static_cast<std::size_t>(index) >= items.size()) {
    return nullptr;
  }
  return &items[static_cast<std::size_t>(index)];
}
