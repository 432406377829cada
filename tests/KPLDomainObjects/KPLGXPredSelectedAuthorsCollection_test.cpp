// GX selected authors: the build (eight combinations, the record's 0, 2, 1, 3
// declaration order, GUID matching, reports), the 50-record cap of an
// author, the GX age groups with fraction and group 4, and the lookups.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "KPLDomainObjects/KPLGXPredAuthorsCollection.h"
#include "KPLDomainObjects/KPLGXPredSelectedAuthorsCollection.h"
#include "KPLDomainObjects/KPLGXPredSet.h"
#include "KPLDomainObjects/KPLValidationResult.h"
#include "support/ReportCapture.h"

namespace {

using kpl::testing::ReportCapture;

constexpr const char* kModule = "KPLDomainObjects/KPLGXPredSelectedAuthorsCollection";
constexpr const char* kGuidW = "{3F2504E0-4F89-11D3-9A0C-0305E82C3301}";
constexpr const char* kGuidJ = "{9C5B94B1-35AD-49BB-B118-8E8FC24ABF80}";

// A record whose eight texts are "<tag>.d<n>", n the declared position.
KPLGXPredVariable Record(int variable, const std::string& tag) {
  KPLGXPredVariable r;
  r.variableNumber = variable;
  for (int n = 0; n < 8; ++n) r.equations[static_cast<std::size_t>(n)] = tag + ".d" + std::to_string(n);
  return r;
}

KPLGXPredAuthor Author(const std::string& name, const char* guid, const std::vector<KPLGXPredVariable>& records) {
  KPLGXPredAuthor a;
  a.name = name;
  a.guid.Set(guid);
  for (const KPLGXPredVariable& r : records) a.equations.Append(r);
  return a;
}

KPLGXPredSelectedAuthor2 Choice(int variable, const std::string& name, const std::string& guid) {
  KPLGXPredSelectedAuthor2 c;
  c.variableNumber = variable;
  c.authorNames.fill(name);
  c.authorGuids.fill(guid);
  return c;
}

KPLGXPredSet Set(const std::vector<KPLGXPredSelectedAuthor2>& choices) {
  KPLGXPredSet s;
  s.name = "Default";
  s.guid.Set("{11112222-3333-4444-5555-66667777aaaa}");
  for (const KPLGXPredSelectedAuthor2& c : choices) s.authorChoices.Append(c);
  return s;
}

KPLGXPredAuthorsCollection Catalogue(const std::vector<KPLGXPredAuthor>& authors) {
  KPLGXPredAuthorsCollection c;
  for (const KPLGXPredAuthor& a : authors) c.Append(a);
  return c;
}

TEST(GXBuildSelectedAuthors, EightEntriesPickTheDeclaredTextOfEachSexAndAgeGroup) {
  KPLGXPredAuthor w = Author("Wasserman", kGuidW, {Record(5, "other"), Record(6, "r")});
  w.flag = true;
  const KPLGXPredAuthorsCollection authors = Catalogue({w});
  const KPLGXPredSet set = Set({Choice(6, "Wasserman", kGuidW)});

  ReportCapture capture;
  KPLGXPredSelectedAuthorsCollection c;
  c.BuildSelectedAuthors(&set, &authors);
  EXPECT_EQ(capture.Count(), 0u);

  struct Expected {
    int sex;
    int ageGroup;
    const char* equation;
  };
  const Expected expected[] = {
      {1, 0, "r.d0"}, {1, 1, "r.d2"}, {1, 2, "r.d1"}, {1, 3, "r.d3"},
      {2, 0, "r.d4"}, {2, 1, "r.d6"}, {2, 2, "r.d5"}, {2, 3, "r.d7"},
  };
  ASSERT_EQ(c.count, 8);
  for (int i = 0; i < 8; ++i) {
    const KPLGXPredSelectedAuthor& e = c.Items()[static_cast<std::size_t>(i)];
    SCOPED_TRACE(i);
    EXPECT_EQ(e.sexGroup, expected[i].sex);
    EXPECT_EQ(e.ageGroup, expected[i].ageGroup);
    EXPECT_EQ(e.equation, expected[i].equation);
    EXPECT_EQ(e.variableNumber, 6);
    EXPECT_EQ(e.author.name, "Wasserman");
    EXPECT_EQ(e.author.guid.Get(), kGuidW);
    EXPECT_TRUE(e.author.flag);
    EXPECT_EQ(e.author.equations.count, 0);
    EXPECT_TRUE(e.IsLoaded());
    EXPECT_FALSE(e.IsModified());
  }
  EXPECT_EQ(c.collectionGuid.Get(), "{11112222-3333-4444-5555-66667777AAAA}");
  EXPECT_TRUE(c.IsLoaded());
  EXPECT_FALSE(c.IsModified());

  const KPLGXPredSelectedAuthor* found = c.Find(6, 2, 1);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->equation, "r.d6");
  EXPECT_EQ(c.Find(5, 1, 0), nullptr);
  EXPECT_EQ(c.Find(6, 1, 4), nullptr);
}

TEST(GXBuildSelectedAuthors, GuidsMatchByteForByteAndTheFirstAuthorWins) {
  const std::string lower = "{3f2504e0-4f89-11d3-9a0c-0305e82c3301}";
  const KPLGXPredAuthorsCollection authors =
      Catalogue({Author("Jones", kGuidJ, {Record(5, "jones")}), Author("W1", kGuidW, {Record(5, "first")}),
                 Author("W2", kGuidW, {Record(5, "second")})});
  KPLGXPredSelectedAuthor2 mixed = Choice(5, "W", kGuidW);
  mixed.authorGuids[2] = lower;  // (male, 2)
  mixed.authorNames[6] = "";     // (female, 2): skipped silently
  const KPLGXPredSet set = Set({mixed});

  ReportCapture capture;
  KPLGXPredSelectedAuthorsCollection c;
  c.BuildSelectedAuthors(&set, &authors);

  ASSERT_EQ(c.count, 6);
  for (const KPLGXPredSelectedAuthor& e : c.Items()) EXPECT_EQ(e.equation.substr(0, 6), "first.");
  ASSERT_EQ(capture.Count(), 1u);
  EXPECT_EQ(capture.Reports()[0].moduleName, kModule);
  EXPECT_EQ(capture.Reports()[0].message, "Can't find Pred Author GUID: " + lower + ".");
}

TEST(GXBuildSelectedAuthors, MissingSetOrCatalogueIsReportedAndLeavesTheCollectionEmpty) {
  const KPLGXPredAuthorsCollection authors = Catalogue({Author("W", kGuidW, {Record(5, "r")})});
  const KPLGXPredSet set = Set({Choice(5, "W", kGuidW)});
  const std::pair<const KPLGXPredSet*, const KPLGXPredAuthorsCollection*> cases[] = {
      {nullptr, &authors}, {&set, nullptr}, {nullptr, nullptr}};
  for (const auto& [s, a] : cases) {
    KPLGXPredSelectedAuthorsCollection c;
    c.BuildSelectedAuthors(&set, &authors);
    ASSERT_EQ(c.count, 8);
    ReportCapture capture;
    c.BuildSelectedAuthors(s, a);
    EXPECT_EQ(c.count, 0);
    EXPECT_FALSE(c.IsLoaded());
    EXPECT_FALSE(c.collectionGuid.IsSet());
    ASSERT_EQ(capture.Count(), 1u);
    EXPECT_EQ(capture.Reports()[0].moduleName, kModule);
    EXPECT_EQ(capture.Reports()[0].message, "One or more pred selected authors collection objects not present.");
  }
}

TEST(GXPredAuthor, HoldsAtMostFiftyRecordsAndTheBuildSeesNoFiftyFirst) {
  KPLGXPredAuthor author = Author("W", kGuidW, {});
  for (int v = 1; v <= 51; ++v) author.equations.Append(Record(v, "v" + std::to_string(v)));
  EXPECT_EQ(author.equations.count, 50);

  const KPLGXPredAuthorsCollection authors = Catalogue({author});
  const KPLGXPredSet set = Set({Choice(50, "W", kGuidW), Choice(51, "W", kGuidW)});
  KPLGXPredSelectedAuthorsCollection c;
  c.BuildSelectedAuthors(&set, &authors);
  EXPECT_EQ(c.count, 8);
  for (const KPLGXPredSelectedAuthor& e : c.Items()) EXPECT_EQ(e.variableNumber, 50);
}

TEST(GXPredAuthor, ValidateReportsAnEmptyNameThenDuplicateRecords) {
  KPLGXPredAuthor author = Author("", kGuidW, {Record(5, "a"), Record(7, "b")});
  KPLValidationResult result;
  EXPECT_FALSE(author.Validate(&result));
  EXPECT_EQ(result.errorCode, KPLValidationResult::kEmptyAuthorName);
  author.name = "W";
  result = {};
  EXPECT_TRUE(author.Validate(&result));
  author.equations.Append(Record(5, "c"));
  EXPECT_FALSE(author.Validate(&result));
  EXPECT_EQ(result.errorCode, KPLValidationResult::kDuplicateEquation);
  EXPECT_EQ(result.itemIndex, 2);
  EXPECT_TRUE(author.IsModified());  // the equations collection changed
}

TEST(GXPredSetOptions, AgeGroupComparesTheAgeWithItsFractionAndGivesFourOutside) {
  KPLGXPredSetOptions options;
  options.ageRanges = {{{5, 17}, {18, 25}, {26, 99}}};
  const std::pair<double, int> cases[] = {
      {5.0, 0}, {17.0, 0}, {17.5, 4},  // between two ranges
      {18.0, 1}, {25.0, 1}, {25.9, 4}, {26.0, 2}, {99.0, 2}, {99.5, 4}, {4.99, 4},
  };
  for (const auto& [age, expected] : cases) EXPECT_EQ(options.AgeGroupOf(age), expected) << "age " << age;
  EXPECT_EQ(KPLGXPredSetOptions().AgeGroupOf(40), KPLGXPredSetOptions::kNoAgeGroup);
}

TEST(GXPredSetOptions, ClearRestoresTheDefaults) {
  KPLGXPredSet set;
  set.options.vco2Option = false;
  set.options.obesityRuleOffOption = false;
  set.options.ageRanges[2] = {65, 120};
  set.options.mvvMethod = 3;
  set.options.gasFactor = 1.5;
  set.authorChoices.Append(KPLGXPredSelectedAuthor2());
  set.Clear();
  EXPECT_TRUE(set.options.vco2Option);
  EXPECT_TRUE(set.options.obesityRuleOffOption);
  EXPECT_EQ(set.options.ageRanges[2].lower, -1);
  EXPECT_EQ(set.options.mvvMethod, 0);
  EXPECT_EQ(set.options.gasFactor, 0.0);
  EXPECT_EQ(set.authorChoices.count, 0);
}

}  // namespace
