// PF predicted set records: age groups by whole years, race factors, the
// authors' Validate and IsModified, defaults after Clear and deep copies.
#include <gtest/gtest.h>

#include <limits>

#include "KPLDomainObjects/KPLPredAuthor.h"
#include "KPLDomainObjects/KPLPredSelectedAuthor.h"
#include "KPLDomainObjects/KPLPredSet.h"
#include "KPLDomainObjects/KPLValidationResult.h"

namespace {

TEST(PredSetAgeGroups, WholeYearsOfTheAgePickTheFirstInclusiveRange) {
  KPLPredSetAgeGroups groups;
  groups.ageRanges = {{{5, 17}, {18, 25}, {26, 99}}};
  struct Case {
    double age;
    int expected;
  };
  const Case cases[] = {
      {5.0, 0},   {17.5, 0},  // whole years 17
      {18.0, 1},  {25.9, 1},  // whole years 25
      {26.0, 2},  {99.99, 2}, {100.4, 3}, {4.99, 3}, {0.0, 3},
      {std::numeric_limits<double>::quiet_NaN(), 3}, {1e300, 3},
  };
  for (const Case& tc : cases) EXPECT_EQ(groups.AgeGroupOf(tc.age), tc.expected) << "age " << tc.age;

  groups.ageRanges = {{{0, 30}, {20, 40}, {-1, -1}}};  // overlapping: the first wins; unused third
  EXPECT_EQ(groups.AgeGroupOf(25), 0);
  EXPECT_EQ(groups.AgeGroupOf(35), 1);
  EXPECT_EQ(groups.AgeGroupOf(50), KPLPredSetAgeGroups::kNoAgeGroup);
  EXPECT_EQ(KPLPredSetAgeGroups().AgeGroupOf(30), 3);  // default ranges reach no age
}

TEST(RaceCorrections, FirstEntryOfTheVariableGivesTheFactorOfTheRaceGroup) {
  KPLRaceCorrectionsCollection corrections;
  KPLRaceCorrection fev1;
  fev1.variableNumber = 4;
  fev1.factors = {0.9, 0.8, 0.7, 0.6};
  KPLRaceCorrection later = fev1;
  later.factors = {2.0, 2.0, 2.0, 2.0};
  KPLRaceCorrection fvc;
  fvc.variableNumber = 2;
  fvc.factors = {1.0, 0.88, 1.0, 0.94};
  corrections.Append(fvc);
  corrections.Append(fev1);
  corrections.Append(later);

  struct Case {
    int variable;
    int race;
    double expected;
  };
  const Case cases[] = {
      {4, 1, 0.9}, {4, 2, 0.8}, {4, 3, 0.7}, {4, 4, 0.6}, {4, 6, 0.6}, {4, 7, 0.6},
      {4, 5, 1.0},   // unspecified race
      {4, 0, 1.0},   {4, -1, 1.0}, {4, 8, 1.0},
      {2, 2, 0.88},  {2, 7, 0.94},
      {9, 2, 1.0},   // no entry for the variable
  };
  for (const Case& tc : cases) {
    EXPECT_DOUBLE_EQ(corrections.Factor(tc.variable, tc.race), tc.expected)
        << "variable " << tc.variable << ", race " << tc.race;
  }
  EXPECT_DOUBLE_EQ(KPLRaceCorrectionsCollection().Factor(4, 2), 1.0);
}

TEST(PredAuthor, ValidateReportsAnEmptyNameThenTheEquationsCheck) {
  KPLPredVariable value;
  value.variableNumber = 2;
  KPLPredVariable sd = value;
  sd.kind = KPLPredVariable::kStandardDeviation;

  KPLPredAuthor author;
  author.equations.Append(value);
  author.equations.Append(sd);
  KPLValidationResult result;
  EXPECT_FALSE(author.Validate(&result));  // no name
  EXPECT_EQ(result.errorCode, KPLValidationResult::kEmptyAuthorName);

  author.name = "A";
  result = {};
  EXPECT_TRUE(author.Validate(&result));
  author.equations.Append(value);  // a second predicted-value record for 2
  EXPECT_FALSE(author.Validate(&result));
  EXPECT_EQ(result.errorCode, KPLValidationResult::kDuplicateEquation);
  EXPECT_EQ(result.itemIndex, 2);
  EXPECT_FALSE(KPLPredAuthor().Validate(nullptr));
}

TEST(PredRecords, IsModifiedLooksIntoEmbeddedObjectsWhereTheRecordSaysSo) {
  KPLPredAuthor author;
  EXPECT_FALSE(author.IsModified());
  author.equations.Append(KPLPredVariable());  // the collection's flag
  EXPECT_TRUE(author.IsModified());

  KPLPredSelectedAuthor entry;
  entry.author = author;
  EXPECT_TRUE(entry.IsModified());

  KPLPredSet set;
  set.authorChoices.Append(KPLPredSelectedAuthor2());
  set.raceCorrections.Append(KPLRaceCorrection());
  set.ageGroups.SetModified(true);
  EXPECT_FALSE(set.IsModified());  // its own flag only
  set.SetModified(true);
  EXPECT_TRUE(set.IsModified());
}

TEST(PredRecords, ClearRestoresEveryDefault) {
  KPLPredSet set;
  set.name = "Default";
  set.guid.Set("{x}");
  set.flag = true;
  set.authorChoices.Append(KPLPredSelectedAuthor2());
  set.ageGroups.vcUsesFvcEquation = false;
  set.ageGroups.ageRanges[1] = {18, 25};
  set.raceCorrections.Append(KPLRaceCorrection());
  set.SetLoaded(true);
  set.Clear();
  EXPECT_TRUE(set.name.empty());
  EXPECT_FALSE(set.guid.IsSet());
  EXPECT_FALSE(set.flag);
  EXPECT_EQ(set.authorChoices.count, 0);
  EXPECT_TRUE(set.ageGroups.vcUsesFvcEquation);
  for (const auto& range : set.ageGroups.ageRanges) {
    EXPECT_EQ(range.lower, -1);
    EXPECT_EQ(range.upper, -1);
  }
  EXPECT_EQ(set.raceCorrections.count, 0);
  EXPECT_FALSE(set.IsLoaded());

  KPLPredSelectedAuthor entry;
  entry.author.singleEquation = false;
  entry.author.siUnits = false;
  entry.sexGroup = 2;
  entry.ageGroup = 2;
  entry.kind = 1;
  entry.equations[3] = "x";
  entry.Clear();
  EXPECT_TRUE(entry.author.singleEquation);
  EXPECT_TRUE(entry.author.siUnits);
  EXPECT_EQ(entry.sexGroup, 1);
  EXPECT_EQ(entry.ageGroup, 0);
  EXPECT_EQ(entry.kind, 0);
  EXPECT_EQ(entry.equations[3], "");

  KPLRaceCorrection correction;
  correction.factors[2] = 0.5;
  correction.Clear();
  EXPECT_EQ(correction.factors, (std::array<double, 4>{1.0, 1.0, 1.0, 1.0}));
}

TEST(PredRecords, AssignmentCopiesDeeplyWithTheFlags) {
  KPLPredSet source;
  source.name = "Default";
  KPLPredSelectedAuthor2 choice;
  choice.variableNumber = 2;
  choice.authorNames[0] = "A";
  source.authorChoices.Append(choice);
  source.ageGroups.ageRanges[0] = {0, 17};
  source.SetLoaded(true);

  KPLPredSet copy;
  copy = source;
  EXPECT_TRUE(copy.IsLoaded());
  EXPECT_EQ(copy.ageGroups.ageRanges[0].upper, 17);
  ASSERT_EQ(copy.authorChoices.count, 1);
  copy.authorChoices.GetItem(0)->authorNames[0] = "B";
  EXPECT_EQ(source.authorChoices.Items()[0].authorNames[0], "A");
}

}  // namespace
