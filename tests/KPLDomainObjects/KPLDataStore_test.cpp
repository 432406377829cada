// The store interface through the in-memory store of the tests: loads by
// name, refusals, the variable-set selector, and the calculators' order of
// loads followed by the selected-author build.
#include <gtest/gtest.h>

#include <string>

#include "KPLDomainObjects/KPLDataStore.h"
#include "KPLDomainObjects/KPLGXPredSelectedAuthorsCollection.h"
#include "KPLDomainObjects/KPLPredSelectedAuthorsCollection.h"
#include "support/MemoryStore.h"
#include "support/ReportCapture.h"

namespace {

using kpl::testing::KPLMemoryStore;
using kpl::testing::ReportCapture;

constexpr const char* kGuid = "{6B29FC40-CA47-1067-B31D-00DD010662DA}";

void Fill(KPLMemoryStore& store) {
  KPLPredSet set;
  set.name = "Default";
  set.ageGroups.ageRanges = {{{0, 17}, {18, 19}, {20, 120}}};
  KPLPredSelectedAuthor2 choice;
  choice.variableNumber = 4;
  choice.authorNames.fill("A");
  choice.authorGuids.fill(kGuid);
  set.authorChoices.Append(choice);
  store.predSets.push_back(set);

  KPLPredAuthor author;
  author.name = "A";
  author.guid.Set(kGuid);
  KPLPredVariable record;
  record.variableNumber = 4;
  record.equations[3] = "0.04*HEIGHTCM-2";  // female, age group 0, race group 0
  author.equations.Append(record);
  store.predAuthors.Append(author);

  KPLVariable fev1;
  fev1.variableNumber = 4;
  fev1.name = "FEV1";
  store.pfVariables.Append(fev1);
  KPLVariable vo2;
  vo2.variableNumber = 5;
  store.gxVariables.Append(vo2);

  KPLGXPredSet gx;
  gx.name = "Default";
  gx.options.mvvMethod = 2;
  store.gxPredSets.push_back(gx);
}

TEST(DataStore, CalculatorOrderLoadsTheSetThenAuthorsAndVariablesThenBuilds) {
  KPLMemoryStore store;
  Fill(store);
  const KPLDataStore& base = store;
  KPLPredSet set;
  KPLPredAuthorsCollection authors;
  KPLVariablesCollection variables;
  variables.variableSet = KPLVariablesCollection::kPFVariables;
  set.name = "Default";
  ASSERT_EQ(base.Load(&set), KPLDataStore::DS_LOAD_OK);
  EXPECT_EQ(base.Load(&authors, 1), KPLDataStore::DS_LOAD_OK);
  EXPECT_EQ(base.Load(&variables, 1), KPLDataStore::DS_LOAD_OK);
  EXPECT_TRUE(set.IsLoaded());
  EXPECT_FALSE(set.IsModified());
  EXPECT_EQ(set.ageGroups.AgeGroupOf(19.5), 1);
  EXPECT_EQ(variables.variableSet, KPLVariablesCollection::kPFVariables);
  ASSERT_EQ(variables.count, 1);
  EXPECT_EQ(variables.Items()[0].name, "FEV1");

  KPLPredSelectedAuthorsCollection selected;
  selected.BuildSelectedAuthors(&set, &authors);
  const KPLPredSelectedAuthor* entry = selected.Find(4, 0, 2, 0);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->EquationForRace(7), "0.04*HEIGHTCM-2");  // singleEquation by default

  KPLGXPredSet gx;
  gx.name = "Default";
  KPLVariablesCollection gxVariables;
  gxVariables.variableSet = KPLVariablesCollection::kGXVariables;
  ASSERT_EQ(base.Load(&gx), KPLDataStore::DS_LOAD_OK);
  EXPECT_EQ(gx.options.mvvMethod, 2);
  EXPECT_EQ(base.Load(&gxVariables, 1), KPLDataStore::DS_LOAD_OK);
  ASSERT_EQ(gxVariables.count, 1);
  EXPECT_EQ(gxVariables.Items()[0].variableNumber, 5);
}

TEST(DataStore, FailedLoadsAnswerTheirCodeAndChangeNothing) {
  struct Case {
    const char* label;
    const char* name;
    bool opened;
    KPLDataStore::DS_LOAD_RETURN failWith;
    KPLDataStore::DS_LOAD_RETURN expected;
  };
  const Case cases[] = {
      {"unknown name", "Missing", true, KPLDataStore::DS_LOAD_OK, KPLDataStore::DS_LOAD_NOT_FOUND},
      {"names compare exactly", "default", true, KPLDataStore::DS_LOAD_OK, KPLDataStore::DS_LOAD_NOT_FOUND},
      {"store closed", "Default", false, KPLDataStore::DS_LOAD_OK, KPLDataStore::DS_LOAD_NOT_OPENED},
      {"store error", "Default", true, KPLDataStore::DS_LOAD_STORE_ERROR, KPLDataStore::DS_LOAD_STORE_ERROR},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    KPLMemoryStore store;
    Fill(store);
    store.SetOpened(tc.opened);
    store.failWith = tc.failWith;
    EXPECT_EQ(store.IsOpened(), tc.opened);
    KPLPredSet set;
    set.name = tc.name;
    KPLGXPredSet gx;
    gx.name = tc.name;
    EXPECT_EQ(store.Load(&set), tc.expected);
    EXPECT_EQ(store.Load(&gx), tc.expected);
    EXPECT_EQ(set.authorChoices.count, 0);
    EXPECT_FALSE(set.IsLoaded());
    EXPECT_EQ(set.name, tc.name);
  }

  KPLMemoryStore store;
  Fill(store);
  KPLVariablesCollection unselected;  // selector 0
  EXPECT_EQ(store.Load(&unselected, 1), KPLDataStore::DS_LOAD_BAD_ARGUMENT);
  EXPECT_EQ(store.Load(static_cast<KPLPredSet*>(nullptr)), KPLDataStore::DS_LOAD_BAD_ARGUMENT);
  EXPECT_EQ(store.loadCount, 2);
  EXPECT_STREQ(KPLDataStore::LoadResultText(KPLDataStore::DS_LOAD_NOT_FOUND), "not found");
}

}  // namespace
