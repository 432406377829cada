// PF selected authors: the build from a predicted set and the authors
// catalogue (order, equations by race group, singleEquation, GUID matching,
// reports) and the lookups the PF calculator makes.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "KPLDomainObjects/KPLPredAuthorsCollection.h"
#include "KPLDomainObjects/KPLPredSelectedAuthorsCollection.h"
#include "KPLDomainObjects/KPLPredSet.h"
#include "support/ReportCapture.h"

namespace {

using kpl::testing::ReportCapture;

constexpr const char* kModule = "KPLDomainObjects/KPLPredSelectedAuthorsCollection";
constexpr const char* kGuidA = "{6B29FC40-CA47-1067-B31D-00DD010662DA}";
constexpr const char* kGuidB = "{0F8FAD5B-D9CB-469F-A165-70867728950E}";

// An equation record whose 24 texts name their own position: "<tag>.<n>".
KPLPredVariable Record(int variable, int kind, const std::string& tag) {
  KPLPredVariable r;
  r.variableNumber = variable;
  r.kind = kind;
  for (int n = 0; n < 24; ++n) r.equations[static_cast<std::size_t>(n)] = tag + "." + std::to_string(n);
  return r;
}

KPLPredAuthor Author(const std::string& name, const char* guid, bool singleEquation,
                     const std::vector<KPLPredVariable>& records) {
  KPLPredAuthor a;
  a.name = name;
  a.guid.Set(guid);
  a.singleEquation = singleEquation;
  for (const KPLPredVariable& r : records) a.equations.Append(r);
  return a;
}

// A choice naming the same author for all six combinations.
KPLPredSelectedAuthor2 Choice(int variable, const std::string& name, const std::string& guid) {
  KPLPredSelectedAuthor2 c;
  c.variableNumber = variable;
  c.authorNames.fill(name);
  c.authorGuids.fill(guid);
  return c;
}

KPLPredSet Set(const std::vector<KPLPredSelectedAuthor2>& choices) {
  KPLPredSet s;
  s.name = "Test";
  s.guid.Set("{a1b2c3d4-0000-1111-2222-333344445555}");
  for (const KPLPredSelectedAuthor2& c : choices) s.authorChoices.Append(c);
  return s;
}

KPLPredAuthorsCollection Catalogue(const std::vector<KPLPredAuthor>& authors) {
  KPLPredAuthorsCollection c;
  for (const KPLPredAuthor& a : authors) c.Append(a);
  return c;
}

// (sex group, age group, kind) of every entry, in order.
std::vector<std::tuple<int, int, int>> Keys(const KPLPredSelectedAuthorsCollection& c) {
  std::vector<std::tuple<int, int, int>> keys;
  for (const KPLPredSelectedAuthor& e : c.Items()) keys.emplace_back(e.sexGroup, e.ageGroup, e.kind);
  return keys;
}

TEST(PredBuildSelectedAuthors, ValueAndSDRecordsGiveTwelveEntriesInCombinationOrder) {
  KPLPredAuthor a = Author("A", kGuidA, false, {Record(2, 0, "v"), Record(9, 0, "other"), Record(2, 1, "sd")});
  a.siUnits = false;
  a.flag3 = true;
  const KPLPredAuthorsCollection authors = Catalogue({a});
  const KPLPredSet set = Set({Choice(2, "A (chosen name)", kGuidA)});

  ReportCapture capture;
  KPLPredSelectedAuthorsCollection c;
  c.BuildSelectedAuthors(&set, &authors);

  EXPECT_EQ(capture.Count(), 0u);
  const std::vector<std::tuple<int, int, int>> expected = {
      {1, 0, 0}, {1, 0, 1}, {1, 1, 0}, {1, 1, 1}, {1, 2, 0}, {1, 2, 1},
      {2, 0, 0}, {2, 0, 1}, {2, 1, 0}, {2, 1, 1}, {2, 2, 0}, {2, 2, 1},
  };
  EXPECT_EQ(Keys(c), expected);
  EXPECT_EQ(c.count, 12);
  EXPECT_EQ(c.collectionGuid.Get(), "{A1B2C3D4-0000-1111-2222-333344445555}");
  EXPECT_TRUE(c.IsLoaded());
  EXPECT_FALSE(c.IsModified());

  // (female, age group 1): texts 4, 10, 16, 22 of the record.
  const KPLPredSelectedAuthor& femaleValue = c.Items()[8];
  EXPECT_EQ(femaleValue.equations, (std::array<std::string, 4>{"v.4", "v.10", "v.16", "v.22"}));
  EXPECT_EQ(c.Items()[9].equations, (std::array<std::string, 4>{"sd.4", "sd.10", "sd.16", "sd.22"}));
  // (male, age group 0).
  EXPECT_EQ(c.Items()[0].equations, (std::array<std::string, 4>{"v.0", "v.6", "v.12", "v.18"}));

  for (const KPLPredSelectedAuthor& e : c.Items()) {
    EXPECT_EQ(e.variableNumber, 2);
    EXPECT_EQ(e.author.name, "A (chosen name)");  // the choice's name, not the author's
    EXPECT_EQ(e.author.guid.Get(), kGuidA);
    EXPECT_FALSE(e.author.singleEquation);
    EXPECT_FALSE(e.author.siUnits);
    EXPECT_TRUE(e.author.flag3);
    EXPECT_EQ(e.author.equations.count, 0);
    EXPECT_FALSE(e.guid.IsSet());
    EXPECT_TRUE(e.IsLoaded());
    EXPECT_FALSE(e.IsModified());
  }
}

TEST(PredBuildSelectedAuthors, SingleEquationGivesEveryRaceTheRaceGroup0Text) {
  const KPLPredAuthorsCollection authors = Catalogue({Author("A", kGuidA, true, {Record(2, 0, "v")})});
  const KPLPredSet set = Set({Choice(2, "A", kGuidA)});
  KPLPredSelectedAuthorsCollection c;
  c.BuildSelectedAuthors(&set, &authors);
  ASSERT_EQ(c.count, 6);
  EXPECT_EQ(c.Items()[5].equations, (std::array<std::string, 4>{"v.5", "v.5", "v.5", "v.5"}));  // female 2
  EXPECT_EQ(c.Items()[1].equations, (std::array<std::string, 4>{"v.1", "v.1", "v.1", "v.1"}));  // male 1
}

TEST(PredBuildSelectedAuthors, UnknownGuidIsReportedPerCombinationAndGivesNoEntry) {
  // Stored in lower case, the choice's text cannot equal the author's upper-cased GUID.
  const std::string lower = "{6b29fc40-ca47-1067-b31d-00dd010662da}";
  const KPLPredAuthorsCollection authors = Catalogue({Author("A", kGuidA, false, {Record(2, 0, "v")})});
  KPLPredSelectedAuthor2 partly = Choice(4, "A", kGuidA);
  const KPLPredSet set = Set({Choice(2, "A", lower), partly});

  ReportCapture capture;
  KPLPredSelectedAuthorsCollection c;
  c.BuildSelectedAuthors(&set, &authors);

  EXPECT_EQ(c.count, 0);  // the second choice's author has no record for variable 4: silent
  EXPECT_TRUE(c.IsLoaded());
  ASSERT_EQ(capture.Count(), 6u);
  for (const KplAssertionReport& r : capture.Reports()) {
    EXPECT_EQ(r.moduleName, kModule);
    EXPECT_EQ(r.message, "Can't find Pred Author GUID: " + lower + ".");
  }
}

TEST(PredBuildSelectedAuthors, CombinationsWithoutNameOrGuidAreSkippedSilently) {
  const KPLPredAuthorsCollection authors = Catalogue({Author("A", kGuidA, false, {Record(2, 0, "v")})});
  KPLPredSelectedAuthor2 choice = Choice(2, "A", kGuidA);
  choice.authorNames[1] = "";  // (male, 1)
  choice.authorGuids[3] = "";  // (female, 0)
  choice.authorNames[5] = "";  // (female, 2): also no GUID below
  choice.authorGuids[5] = "";
  const KPLPredSet set = Set({choice});

  ReportCapture capture;
  KPLPredSelectedAuthorsCollection c;
  c.BuildSelectedAuthors(&set, &authors);
  EXPECT_EQ(capture.Count(), 0u);
  EXPECT_EQ(Keys(c), (std::vector<std::tuple<int, int, int>>{{1, 0, 0}, {1, 2, 0}, {2, 1, 0}}));
}

TEST(PredBuildSelectedAuthors, DuplicateGuidsUseTheFirstAuthor) {
  KPLPredAuthor second = Author("B", kGuidA, false, {Record(2, 0, "second")});
  second.siUnits = false;
  const KPLPredAuthorsCollection authors =
      Catalogue({Author("X", kGuidB, false, {Record(2, 0, "x")}), Author("A", kGuidA, false, {Record(2, 0, "first")}),
                 second});
  const KPLPredSet set = Set({Choice(2, "A", kGuidA)});
  KPLPredSelectedAuthorsCollection c;
  c.BuildSelectedAuthors(&set, &authors);
  ASSERT_EQ(c.count, 6);
  for (const KPLPredSelectedAuthor& e : c.Items()) {
    EXPECT_EQ(e.equations[0].substr(0, 6), "first.");
    EXPECT_TRUE(e.author.siUnits);
  }
}

TEST(PredBuildSelectedAuthors, MissingSetOrCatalogueIsReportedAndLeavesTheCollectionEmpty) {
  const KPLPredAuthorsCollection authors = Catalogue({Author("A", kGuidA, false, {Record(2, 0, "v")})});
  const KPLPredSet set = Set({Choice(2, "A", kGuidA)});
  struct Case {
    const char* label;
    const KPLPredSet* set;
    const KPLPredAuthorsCollection* authors;
  };
  for (const Case& tc : {Case{"no set", nullptr, &authors}, Case{"no catalogue", &set, nullptr},
                         Case{"neither", nullptr, nullptr}}) {
    SCOPED_TRACE(tc.label);
    KPLPredSelectedAuthorsCollection c;
    c.BuildSelectedAuthors(&set, &authors);  // earlier content goes
    ASSERT_EQ(c.count, 6);
    ReportCapture capture;
    c.BuildSelectedAuthors(tc.set, tc.authors);
    EXPECT_EQ(c.count, 0);
    EXPECT_FALSE(c.IsLoaded());
    EXPECT_FALSE(c.IsModified());
    EXPECT_FALSE(c.collectionGuid.IsSet());
    ASSERT_EQ(capture.Count(), 1u);
    EXPECT_EQ(capture.Reports()[0].moduleName, kModule);
    EXPECT_EQ(capture.Reports()[0].message, "One or more pred selected authors collection objects not present.");
  }
}

TEST(PredSelectedAuthors, FindTakesTheFirstEntryOfVariableKindSexAndAgeGroup) {
  const KPLPredAuthorsCollection authors =
      Catalogue({Author("A", kGuidA, false, {Record(2, 0, "a"), Record(2, 1, "asd")}),
                 Author("B", kGuidB, false, {Record(2, 0, "b")})});
  const KPLPredSet set = Set({Choice(2, "A", kGuidA), Choice(2, "B", kGuidB)});
  KPLPredSelectedAuthorsCollection c;
  c.BuildSelectedAuthors(&set, &authors);

  const KPLPredSelectedAuthor* value = c.Find(2, 0, 2, 1);
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->author.name, "A");
  EXPECT_EQ(value->equations[0], "a.4");
  const KPLPredSelectedAuthor* sd = c.Find(2, 1, 1, 2);
  ASSERT_NE(sd, nullptr);
  EXPECT_EQ(sd->equations[0], "asd.2");
  EXPECT_EQ(c.Find(2, 0, 1, 3), nullptr);  // age group 3 has no entries
  EXPECT_EQ(c.Find(4, 0, 1, 0), nullptr);
}

TEST(PredSelectedAuthor, EquationForRaceMapsRaceCodesToRaceGroups) {
  KPLPredSelectedAuthor e;
  e.equations = {"caucasian", "black", "hispanic", "asian"};
  const std::pair<int, const char*> cases[] = {
      {1, "caucasian"}, {2, "black"}, {3, "hispanic"}, {4, "asian"}, {6, "asian"}, {7, "asian"},
      {5, ""},  // unspecified: the calculator maps it first
      {0, ""},  {8, ""}, {-1, ""},
  };
  for (const auto& [race, expected] : cases) EXPECT_EQ(e.EquationForRace(race), expected) << "race " << race;
}

}  // namespace
