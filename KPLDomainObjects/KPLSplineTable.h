// KPLSplineTable: a spline reference table (GLI 2012 or Stanojevic) that
// replaces the spline and race tokens of an equation text by numbers.
//
// The PF calculator makes one object per table and computation, sets its kind
// and passes every equation through SubstituteSplines, which reads the table
// file at its first use and interpolates the patient's row in age. The file is
// tab-separated: three header lines, then one line per age with the age and
// three columns (L, M, S spline) per variable and sex.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class KPLSplineTable {
 public:
  // One variable's values for the patient and the tokens they replace. The
  // first value is the L spline; it replaces the L token.
  struct Entry {
    std::int32_t enabled = 0;  // takes part in the substitution
    std::string firstValue;    // L spline, "%f"
    std::string mValue;        // M spline, "%f"
    std::string sValue;        // S spline, "%f"
    std::string spareText;     // emptied by SetTableKind, otherwise unused
    std::string mToken;        // "GLI_M_SPLINE_FEV1"
    std::string sToken;        // "GLI_S_SPLINE_FEV1"
    std::string lToken;        // "GLI_L_SPLINE_FEV1"
  };

  // The entries, in table order.
  enum EntryIndex { kFEV1, kFVC, kFEV1FVC, kFEF2575, kFEF75, kEntryCount };
  // Table kinds for SetTableKind.
  static constexpr std::int32_t kGli2012 = 1;
  static constexpr std::int32_t kStanojevic = 0;

  // Keeps the arguments (height in cm and weight in kg are kept only), sets
  // the GLI 2012 kind and marks the table as not read.
  KPLSplineTable(std::string path, double age, std::int32_t sex, std::int32_t race, double height, double weight);
  virtual ~KPLSplineTable() = default;

  // Sets the prefix, age range, column count, tokens and enabled entries of
  // the kind (1 GLI 2012, any other value Stanojevic) and empties every value.
  // Does not change whether the file has been read.
  void SetTableKind(std::int32_t kind);

  // Reads the file and takes the patient's values from the rows around the
  // age. 1 when the file could be opened (whether or not the age was found);
  // 0 after telling the user why it could not.
  [[nodiscard]] std::int32_t ReadTable();

  // Replaces the tokens of this table in `equation`: nothing happens unless the
  // token prefix occurs after the first character, or when the file cannot be
  // read; an age outside the table's range empties the equation. The variable
  // number is not used.
  void SubstituteSplines(std::string& equation, std::int32_t variableNumber);

  // Linear interpolation in age between (lowerAge, lowerValue) and (upperAge,
  // upperValue), held at the ends and also when the rows are reversed, as "%f".
  [[nodiscard]] static std::string Interpolate(double age, double lowerAge, double upperAge, double lowerValue,
                                               double upperValue);

  [[nodiscard]] const Entry& GetEntry(EntryIndex index) const { return entries_[index]; }
  [[nodiscard]] bool IsLoaded() const { return loaded_ != 0; }
  [[nodiscard]] std::int32_t GetTableKind() const { return tableKind_; }
  [[nodiscard]] const std::string& GetTokenPrefix() const { return tokenPrefix_; }
  [[nodiscard]] double GetMinimumAge() const { return minimumAge_; }
  [[nodiscard]] double GetMaximumAge() const { return maximumAge_; }
  [[nodiscard]] std::int32_t GetColumnLimit() const { return columnLimit_; }

 private:
  std::string path_;
  double age_ = 0;
  std::int32_t sex_ = 0;   // 1 male, 2 female
  std::int32_t race_ = 0;  // as chosen, not mapped
  double height_ = 0;      // [cm]
  double weight_ = 0;      // [kg]
  double minimumAge_ = 0;
  double maximumAge_ = 0;
  std::int32_t loaded_ = 0;
  std::int32_t tableKind_ = kGli2012;
  std::array<Entry, kEntryCount> entries_;
  std::string tokenPrefix_;
  std::int32_t columnLimit_ = 0;  // one more than the columns of a data line
};
