// CKPLPredDlg: the PF predicteds calculator. For one visit it evaluates the
// reference equation of every PF variable of the visit's predicted set in a
// grid, lets the derivation pass fill what the set gives no equation for, and
// stores each predicted value and standard deviation into the visit.
//
// A plain object in place of a dialog that is never shown: DoModal runs the
// whole computation. The demographics pass through the "controls" as
// formatted texts and are parsed back; that rounding is part of the results.
// The entry object (CKPLPredictedDll) creates one per call.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "KPLDomainObjects/KPLFOTEffort.h"
#include "KPLDomainObjects/KPLPredAuthorsCollection.h"
#include "KPLDomainObjects/KPLPredSelectedAuthorsCollection.h"
#include "KPLDomainObjects/KPLPredSet.h"
#include "KPLDomainObjects/KPLVariablesCollection.h"
#include "KPLPredicted/CKPLComboBox.h"
#include "KPLPredicted/CSpreadSheet.h"
#include "KPLPredicted/KPLPredDerived.h"

class KPLDataStore;
class KPLRegistry;
class KPLSplineTable;
class KPLVisit;

class CKPLPredDlg {
 public:
  // What DoModal answers.
  enum Result : std::int32_t { kUnknownPredSet = 0, kComputed = 1, kNoVisit = 2 };
  // The edits whose texts carry the demographics.
  enum ControlId : std::int32_t {
    kYearsSmokedEdit = 1032,
    kBsaEdit = 1313,
    kBmiEdit = 1314,
    kYearsQuitEdit = 1403,
    kWeightEdit = 1405,
    kAgeEdit = 1412,
    kHeightEdit = 1414,
    kArmSpanEdit = 1417,
  };
  // Grid columns; column 6 is hidden and holds the variable's index.
  enum GridColumn : std::int32_t {
    kLabelCol = 1,
    kValueCol = 2,
    kAuthorCol = 3,
    kFormulaCol = 4,
    kRaceCol = 5,
    kIndexCol = 6,
  };

  // The values the equations are written with, as last read from the
  // controls; lengths in the unit the name gives.
  struct State {
    double age = 0;
    double wholeAge = 0;   // AGETRUNC
    double cappedAge = 0;  // JHAGE: 70 above 70
    double adjustedAge = 0;  // AGEADJUST: 25 from 18 to 25
    double heightInches = 0;
    double heightCm = 0;
    double heightMeters = 0;
    double weightPounds = 0;
    double weightKg = 0;
    double bsa = 0;  // [m²]
    double bmi = 0;  // [kg/m²]
    double yearsSmoked = 0;
    double yearsQuit = 0;
    std::int32_t smokeType = 0;  // 1 quit, 2 smoking, 0 never
    double armSpan = 0;          // ARMSPAN, in the settings' height unit
    double observedVA = 0;       // DLCO variable 106
    double observedTGV = 0;      // pleth variable 75
    double observedVPANT = 0;    // pleth variable 74
    double hemoglobin = 0;       // ABG variable 156
    double hematocrit = 0;       // ABG variable 170 [%]
    double carboxyhemoglobin = 0;  // ABG variable 163 [%]
    std::int32_t sex = 0;          // 1 male, 2 female, -1 none
    std::int32_t race = 0;         // effective: 5 reads as 1
    std::int32_t enteredRace = 0;  // as chosen
    std::int32_t ageGroup = 0;     // 0 … 2, 3 for none
    bool authorSI = false;
    bool systemSI = false;
    bool dlcoUsesObserved = false;
    bool plethUsesObserved = false;
  };

  // Borrows the three objects; `parent` is kept for symmetry with the GX
  // calculator and is always null.
  CKPLPredDlg(KPLDataStore* store, KPLRegistry* registry, KPLVisit* visit, void* parent = nullptr);
  virtual ~CKPLPredDlg();
  CKPLPredDlg(const CKPLPredDlg&) = delete;
  CKPLPredDlg& operator=(const CKPLPredDlg&) = delete;

  // ---- Modes, set before DoModal ----
  // Store only variables 102, 103 and 107, with the DLCO corrections asked for.
  void SetDLCOOnly(std::int32_t hbMethod, bool hbCorrection, bool altitudeCorrection);
  // Store only variables 80 and 81.
  void SetPlethOnly();

  // Loads, computes and stores; answers a Result.
  std::int32_t DoModal();
  // The computation: inputs from the controls, both passes twice, storing.
  void OnCompute();

  // ---- Grid operations of the derivation pass ----
  // The predicted row of a variable (its SD row follows); 0 when none.
  [[nodiscard]] std::int32_t RowOfVariable(std::int32_t variableNumber) const;
  // Column 2 of the predicted row, parsed; 0 without a row.
  [[nodiscard]] double ReadPredicted(std::int32_t variableNumber);
  // Writes "%0.7f" of the value into column 2 of the predicted row as a
  // literal; nothing without a row.
  void WritePredicted(std::int32_t variableNumber, double value);
  // The value text of column 2 of the predicted row; "" without a row.
  [[nodiscard]] std::string PredictedText(std::int32_t variableNumber);
  // Copies the value texts of the predicted and SD rows of one variable into
  // another's; nothing when either has no rows.
  void CopyValueTexts(std::int32_t fromVariable, std::int32_t toVariable);
  // The author name of the first selected author of the variable for the
  // patient's sex and age group, of either kind; "" when none. Sets the author
  // SI flag from it.
  [[nodiscard]] std::string AuthorOf(std::int32_t variableNumber);

  // ---- Read access, for the derivation pass and for checks ----
  [[nodiscard]] const State& GetState() const { return state_; }
  [[nodiscard]] KPLVisit* GetVisit() const { return visit_; }
  [[nodiscard]] bool HbCorrection() const { return hbCorrection_; }
  [[nodiscard]] bool AltitudeCorrection() const { return altitudeCorrection_; }
  [[nodiscard]] std::int32_t HbMethod() const { return hbMethod_; }
  [[nodiscard]] const CSpreadSheet& Grid() const { return grid_; }
  [[nodiscard]] const std::string& ControlText(ControlId id) const;
  [[nodiscard]] const std::string& PredSetName() const { return predSet_.name; }
  [[nodiscard]] const KPLFOTEffort& FOTEffort() const { return fotEffort_; }

  // "%f" of a value, the format of every token replacement.
  [[nodiscard]] static std::string FormatToken(double value);
  // The grid label of a test ("FVC", "Delta CO2"); null for a test whose
  // variables get no rows and so are neither computed nor stored.
  [[nodiscard]] static const char* TestLabel(std::int32_t testType);

 private:
  // Initialisation: load, lay out, fill, compute.
  std::int32_t OnInitDialog();
  void LayOutGrid();
  void FillControlsFromVisit();
  // BSA and BMI from the height and weight edits, written back.
  void UpdateBsaBmi();
  // Height from the arm span edit, in `unit`; 0 when none can be derived.
  double HeightFromArmSpan(std::int32_t unit);
  void ReadInputs();
  void BuildPredictedFOTData();
  void IndexSelectedAuthors();
  void EquationPass();
  void StoreResults();

  void SetControlText(ControlId id, const std::string& text);
  [[nodiscard]] double ControlNumber(ControlId id) const;
  // The first selected author for the variable and kind (-1: either kind)
  // for the patient's sex and age group.
  [[nodiscard]] const KPLPredSelectedAuthor* FindAuthor(std::int32_t variableNumber, std::int32_t kind) const;
  [[nodiscard]] std::string CellValueText(std::int32_t col, std::int32_t row);
  void SetCellValueText(std::int32_t col, std::int32_t row, const std::string& text);
  // The variable of a grid row, through the hidden index; null when none.
  [[nodiscard]] const KPLVariable* VariableOfRow(std::int32_t row);

  KPLDataStore* store_;
  KPLRegistry* registry_;
  KPLVisit* visit_;

  KPLPredSet predSet_;
  KPLPredAuthorsCollection authors_;
  KPLPredSelectedAuthorsCollection selectedAuthors_;
  KPLVariablesCollection variables_;
  KPLFOTEffort fotEffort_;
  std::unique_ptr<KPLSplineTable> gliSplines_;
  std::unique_ptr<KPLSplineTable> stanojevicSplines_;
  KPLPredDerived derived_;

  CSpreadSheet grid_;
  CKPLComboBox sexCombo_;
  CKPLComboBox raceCombo_;
  std::unordered_map<std::int32_t, std::string> controlTexts_;
  bool armSpanMode_ = false;
  bool initialised_ = false;

  State state_;
  std::int32_t weightUnit_ = 0;
  std::int32_t heightUnit_ = 0;
  double weightValue_ = 0;  // in the weight unit
  double heightValue_ = 0;  // in the height unit
  std::array<std::string, 2> fvcEquations_;  // the last equations of variable 2, by kind

  bool dlcoOnly_ = false;
  bool plethOnly_ = false;
  std::int32_t hbMethod_ = 0;
  bool hbCorrection_ = false;
  bool altitudeCorrection_ = false;

  // Shown variables: the collection index of the first one of each number.
  std::unordered_map<std::int32_t, std::int32_t> firstIndexOfVariable_;
  // Selected authors of the patient's sex and age group by variable: the first
  // of the predicted kind, of the SD kind, and of either.
  std::unordered_map<std::int32_t, std::array<const KPLPredSelectedAuthor*, 3>> authorIndex_;
};
