// Collections of records held by value: the table of concrete collections
// (module, messages, capacity, Clear extras), the cursor rules, deep copies,
// flags and validation; and the GUID value.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "KPLDomainObjects/KPLGXPredVariablesCollection.h"
#include "KPLDomainObjects/KPLItemsCollection.h"
#include "KPLDomainObjects/KPLPredVariablesCollection.h"
#include "KPLDomainObjects/KPLVariablesCollection.h"
#include "support/ReportCapture.h"

namespace {

using kpl::testing::ReportCapture;

// A small record standing in for the element classes of the collections.
class Record : public KPLDomainObject {
 public:
  explicit Record(int n = 0, bool passes = true) : number(n), valid(passes) {}
  [[nodiscard]] bool Validate(KPLValidationResult* /*result*/) const override { return valid; }
  int number;
  bool valid;
};

template <KPLCollectionKind kKind>
using RecordCollection = KPLItemsCollection<Record, KPLDomainCollection, kKind>;

struct Row {
  const char* label;
  std::function<std::unique_ptr<KPLDomainCollection>()> make;
  std::string module;
  std::string itemMessage;     // with index 5
  std::string currentMessage;  // with index −1
  int capacity;                // 0: none
  int firstStoreParameter;
  bool ownCheck;  // ValidateCollection of a collection whose items pass
};

template <class C>
std::function<std::unique_ptr<KPLDomainCollection>()> Maker() {
  return [] { return std::make_unique<C>(); };
}

std::vector<Row> Rows() {
  return {
      {"variables", Maker<KPLVariablesCollection>(), "KPLDomainObjects/KPLVariablesCollection",
       "Invalid variable index: 5.", "Invalid current variable index: -1.", 0, 8, false},
      {"pred variables", Maker<KPLPredVariablesCollection>(), "KPLDomainObjects/KPLPredVariablesCollection",
       "Invalid pred variable index: 5.", "Invalid current pred variable index: -1.", 100, 0, true},
      {"GX pred variables", Maker<KPLGXPredVariablesCollection>(), "KPLDomainObjects/KPLGXPredVariablesCollection",
       "Invalid GX Variables index: 5.", "Invalid current GX Variable index: -1.", 50, 0, true},
      {"pred authors", Maker<RecordCollection<KPLCollectionKind::kPredAuthors>>(),
       "KPLDomainObjects/KPLPredAuthorsCollection", "Invalid pred authors index: 5.",
       "Invalid current pred authors index: -1.", 0, 6, false},
      {"GX pred authors", Maker<RecordCollection<KPLCollectionKind::kGXPredAuthors>>(),
       "KPLDomainObjects/KPLGXPredAuthorsCollection", "Invalid GX Pred Authors index: 5.",
       "Invalid current GX Pred Authors index: -1.", 0, 6, false},
      {"pred selected authors", Maker<RecordCollection<KPLCollectionKind::kPredSelectedAuthors>>(),
       "KPLDomainObjects/KPLPredSelectedAuthorsCollection", "Invalid pred selected author index: 5.",
       "Invalid current pred selected author index: -1.", 0, 0, false},
      {"pred selected authors 2", Maker<RecordCollection<KPLCollectionKind::kPredSelectedAuthors2>>(),
       "KPLDomainObjects/KPLPredSelectedAuthorsCollection2", "Invalid pred selected author2 index: 5.",
       "Invalid current pred selected author2 index: -1.", 0, 0, false},
      {"GX pred selected authors", Maker<RecordCollection<KPLCollectionKind::kGXPredSelectedAuthors>>(),
       "KPLDomainObjects/KPLGXPredSelectedAuthorsCollection", "Invalid GX Pred Selected Authors index: 5.",
       "Invalid current GX Pred Selected Authors index: -1.", 0, 0, false},
      {"GX pred selected authors 2", Maker<RecordCollection<KPLCollectionKind::kGXPredSelectedAuthors2>>(),
       "KPLDomainObjects/KPLGXPredSelectedAuthorsCollection2", "Invalid pred selected author2 index: 5.",
       "Invalid current pred selected author2 index: -1.", 0, 0, false},
      {"race corrections", Maker<RecordCollection<KPLCollectionKind::kRaceCorrections>>(),
       "KPLDomainObjects/KPLRaceCorrectionsCollection", "Invalid race correction index: 5.",
       "Invalid current race correction index: -1.", 0, 0, false},
  };
}

// An item of the collection's own element class, distinguished by `n`.
std::unique_ptr<KPLDomainObject> ItemFor(KPLDomainCollection& c, int n) {
  if (dynamic_cast<KPLVariablesCollection*>(&c) != nullptr) {
    auto v = std::make_unique<KPLVariable>();
    v->variableNumber = n;
    return v;
  }
  if (dynamic_cast<KPLPredVariablesCollection*>(&c) != nullptr) {
    auto v = std::make_unique<KPLPredVariable>();
    v->variableNumber = n;
    return v;
  }
  if (dynamic_cast<KPLGXPredVariablesCollection*>(&c) != nullptr) {
    auto v = std::make_unique<KPLGXPredVariable>();
    v->variableNumber = n;
    return v;
  }
  return std::make_unique<Record>(n);
}

TEST(CollectionTable, EachCollectionReportsItsOwnModuleAndMessages) {
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.label);
    std::unique_ptr<KPLDomainCollection> c = row.make();
    ReportCapture capture;
    EXPECT_EQ(c->GetCurrentItem(), nullptr);
    EXPECT_EQ(c->GetItem(5), nullptr);
    const auto reports = capture.Reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].moduleName, row.module);
    EXPECT_EQ(reports[0].message, row.currentMessage);
    EXPECT_EQ(reports[1].moduleName, row.module);
    EXPECT_EQ(reports[1].message, row.itemMessage);
  }
}

TEST(CollectionTable, ClearSetsTheFirstStoreParameterAndEmptiesTheRest) {
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.label);
    std::unique_ptr<KPLDomainCollection> c = row.make();
    c->storeParameters = {1, 2, 3, 4, 5, 6};
    c->storeKey = 9;
    c->collectionGuid.Set("abc");
    c->Append(*ItemFor(*c, 1));
    c->currentIndex = 0;
    c->SetLoaded(true);
    c->Clear();
    EXPECT_EQ(c->count, 0);
    EXPECT_EQ(c->currentIndex, -1);
    EXPECT_EQ(c->storeParameters, (std::array<std::int32_t, 6>{row.firstStoreParameter, 0, 0, 0, 0, 0}));
    EXPECT_EQ(c->storeKey, 0);
    EXPECT_FALSE(c->collectionGuid.IsSet());
    EXPECT_FALSE(c->IsModified());
    EXPECT_FALSE(c->IsLoaded());
  }
}

TEST(CollectionTable, AppendStopsSilentlyAtTheCapacity) {
  for (const Row& row : Rows()) {
    if (row.capacity == 0) continue;
    SCOPED_TRACE(row.label);
    std::unique_ptr<KPLDomainCollection> c = row.make();
    for (int i = 0; i < row.capacity; ++i) c->Append(*ItemFor(*c, i));
    ASSERT_EQ(c->count, row.capacity);
    c->SetModified(false);
    ReportCapture capture;
    c->Append(*ItemFor(*c, 1000));
    EXPECT_EQ(c->count, row.capacity);
    EXPECT_FALSE(c->IsModified());
    EXPECT_EQ(capture.Count(), 0u);
  }
}

TEST(CollectionTable, OwnCheckOfACollectionWhoseItemsPass) {
  for (const Row& row : Rows()) {
    SCOPED_TRACE(row.label);
    std::unique_ptr<KPLDomainCollection> c = row.make();
    c->Append(*ItemFor(*c, 1));
    c->Append(*ItemFor(*c, 2));
    KPLValidationResult result;
    EXPECT_EQ(c->Validate(&result), row.ownCheck);
  }
}

using Records = RecordCollection<KPLCollectionKind::kRaceCorrections>;

std::vector<int> Numbers(const Records& c) {
  std::vector<int> out;
  for (const Record& r : c.Items()) out.push_back(r.number);
  return out;
}

Records Make(std::initializer_list<int> numbers) {
  Records c;
  for (int n : numbers) c.Append(Record(n));
  return c;
}

TEST(Collection, NewCollectionIsEmptyWithoutCurrentItem) {
  Records c;
  EXPECT_EQ(c.count, 0);
  EXPECT_EQ(c.currentIndex, -1);
  EXPECT_FALSE(c.IsModified());
}

TEST(Collection, GetItemAcceptsZeroToCountMinusOne) {
  Records c = Make({10, 20, 30});
  ReportCapture capture;
  ASSERT_NE(c.GetItem(2), nullptr);
  EXPECT_EQ(c.GetItem(2)->number, 30);
  EXPECT_EQ(c.GetItem(0)->number, 10);
  EXPECT_EQ(c.GetItem(3), nullptr);
  EXPECT_EQ(c.GetItem(-1), nullptr);
  EXPECT_EQ(capture.Messages(), (std::vector<std::string>{"Invalid race correction index: 3.",
                                                          "Invalid race correction index: -1."}));
}

TEST(Collection, AppendCopiesAtTheEndAndKeepsTheCursor) {
  Records c = Make({1});
  c.currentIndex = 0;
  c.SetModified(false);
  Record item(2);
  item.SetLoaded(true);
  c.Append(item);
  item.number = 99;  // the collection holds its own copy
  EXPECT_EQ(Numbers(c), (std::vector<int>{1, 2}));
  EXPECT_TRUE(c.GetItem(1)->IsLoaded());  // the copy carries the flags
  EXPECT_EQ(c.currentIndex, 0);
  EXPECT_TRUE(c.IsModified());
}

TEST(Collection, InsertPutsTheCopyAtTheCurrentIndex) {
  struct Case {
    const char* label;
    int current;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {"first", 0, {9, 1, 2}},
      {"middle", 1, {1, 9, 2}},
      {"at count appends", 2, {1, 2, 9}},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    Records c = Make({1, 2});
    c.currentIndex = tc.current;
    c.Insert(Record(9));
    EXPECT_EQ(Numbers(c), tc.expected);
    EXPECT_EQ(c.currentIndex, tc.current);
    EXPECT_EQ(c.GetCurrentItem()->number, 9);
    EXPECT_EQ(c.count, 3);
  }
}

TEST(Collection, RemoveTakesTheCurrentItemAndKeepsTheCursorInRange) {
  struct Case {
    const char* label;
    std::initializer_list<int> items;
    int current;
    std::vector<int> expected;
    int expectedCurrent;
  };
  const Case cases[] = {
      {"last of three", {1, 2, 3}, 2, {1, 2}, 1},
      {"middle of three", {1, 2, 3}, 1, {1, 3}, 1},
      {"only item", {1}, 0, {}, -1},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    Records c = Make(tc.items);
    c.currentIndex = tc.current;
    c.SetModified(false);
    c.Remove();
    EXPECT_EQ(Numbers(c), tc.expected);
    EXPECT_EQ(c.count, static_cast<int>(tc.expected.size()));
    EXPECT_EQ(c.currentIndex, tc.expectedCurrent);
    EXPECT_TRUE(c.IsModified());
  }
}

// The cursor limits of Insert and Remove are the caller's; breaking them is
// reported and leaves the collection as it was.
TEST(Collection, CursorOutOfRangeIsReportedAndChangesNothing) {
  Records c = Make({1, 2});
  c.SetModified(false);
  ReportCapture capture;
  c.currentIndex = 3;
  c.Insert(Record(9));
  c.currentIndex = -1;
  c.Insert(Record(9));
  c.currentIndex = 2;
  c.Remove();
  c.currentIndex = -1;
  c.Remove();
  EXPECT_EQ(Numbers(c), (std::vector<int>{1, 2}));
  EXPECT_FALSE(c.IsModified());
  EXPECT_EQ(capture.Messages(),
            (std::vector<std::string>{
                "Invalid current race correction index: 3.", "Invalid current race correction index: -1.",
                "Invalid current race correction index: 2.", "Invalid current race correction index: -1."}));
}

TEST(Collection, AppendOfAnotherClassIsReportedAndIgnored) {
  Records c;
  ReportCapture capture;
  c.Append(KPLVariable());
  EXPECT_EQ(c.count, 0);
  ASSERT_EQ(capture.Count(), 1u);
  EXPECT_EQ(capture.Reports()[0].moduleName, "KPLDomainObjects/KPLRaceCorrectionsCollection");
}

TEST(Collection, AppendingAnOwnItemCopiesIt) {
  Records c = Make({1, 2, 3, 4});
  for (int i = 0; i < 20; ++i) c.Append(*c.GetItem(0));  // grows the storage under the argument
  EXPECT_EQ(c.count, 24);
  EXPECT_EQ(c.GetItem(23)->number, 1);
}

TEST(Collection, SetCountDropsLaterItemsAndRefusesMoreThanStored) {
  Records c = Make({1, 2, 3});
  c.currentIndex = 2;
  c.SetModified(false);
  c.SetCount(1);
  EXPECT_EQ(Numbers(c), (std::vector<int>{1}));
  EXPECT_EQ(c.currentIndex, 0);
  EXPECT_TRUE(c.IsModified());
  ReportCapture capture;
  c.SetCount(2);
  EXPECT_EQ(c.count, 1);
  EXPECT_EQ(capture.Messages(), (std::vector<std::string>{"Invalid item count: 2."}));
}

TEST(Collection, AssignmentCopiesItemsAndMembersDeeply) {
  Records source = Make({1, 2, 3});
  source.currentIndex = 1;
  source.storeParameters = {1, 2, 3, 4, 5, 6};
  source.storeKey = 7;
  source.collectionGuid.Set("guid");
  source.SetModified(false);
  source.SetLoaded(true);

  Records copy = Make({8});
  copy = source;
  copy.GetItem(0)->number = 100;
  EXPECT_EQ(source.GetItem(0)->number, 1);
  EXPECT_EQ(Numbers(copy), (std::vector<int>{100, 2, 3}));
  EXPECT_EQ(copy.currentIndex, 1);
  EXPECT_EQ(copy.count, 3);
  EXPECT_EQ(copy.storeParameters, source.storeParameters);
  EXPECT_EQ(copy.storeKey, 7);
  EXPECT_EQ(copy.collectionGuid, source.collectionGuid);
  EXPECT_FALSE(copy.IsModified());  // the source's flag, not the appends'
  EXPECT_TRUE(copy.IsLoaded());

  const Records constructed(source);
  EXPECT_EQ(Numbers(constructed), (std::vector<int>{1, 2, 3}));
}

TEST(Collection, ModifiedWhenItselfOrAnyItemIs) {
  Records c = Make({1, 2});
  c.SetModified(false);
  EXPECT_FALSE(c.IsModified());
  c.GetItem(1)->SetModified(true);
  EXPECT_TRUE(c.IsModified());
}

TEST(Collection, MarkAsNewMarksEveryItemAndKeepsTheOwnLoadedFlag) {
  Records c = Make({1, 2});
  c.SetModified(false);
  c.SetLoaded(true);
  for (Record& r : c.Items()) {
    r.SetLoaded(true);
    r.SetModified(false);
  }
  c.MarkAsNew();
  EXPECT_TRUE(c.IsLoaded());
  for (const Record& r : c.Items()) {
    EXPECT_TRUE(r.IsModified());
    EXPECT_FALSE(r.IsLoaded());
  }
}

TEST(Collection, ValidateStopsAtTheFirstFailingItem) {
  Records c;
  c.Append(Record(1));
  c.Append(Record(2, false));
  c.Append(Record(3, false));
  KPLValidationResult result;
  result.itemIndex = -5;
  EXPECT_FALSE(c.Validate(&result));
  EXPECT_EQ(result.itemIndex, 1);
  EXPECT_FALSE(c.Validate(nullptr));  // no result record: still answers
}

TEST(Collection, DuplicateEquationsFailTheOwnCheck) {
  const auto pf = [](int number, int kind) {
    KPLPredVariable v;
    v.variableNumber = number;
    v.kind = kind;
    return v;
  };
  struct PFCase {
    const char* label;
    std::vector<KPLPredVariable> items;
    bool passes;
    int itemIndex;
  };
  const PFCase pfCases[] = {
      {"predicted and SD of one variable", {pf(5, 0), pf(5, 1)}, true, 0},
      {"two predicted of one variable", {pf(5, 0), pf(7, 0), pf(5, 0)}, false, 2},
      {"first pair found by i then j", {pf(1, 0), pf(2, 0), pf(2, 0), pf(1, 0)}, false, 3},
  };
  for (const PFCase& tc : pfCases) {
    SCOPED_TRACE(tc.label);
    KPLPredVariablesCollection c;
    for (const auto& v : tc.items) c.Append(v);
    KPLValidationResult result;
    EXPECT_EQ(c.Validate(&result), tc.passes);
    if (!tc.passes) {
      EXPECT_EQ(result.itemIndex, tc.itemIndex);
      EXPECT_EQ(result.errorCode, 3);
    }
  }

  KPLGXPredVariablesCollection gx;
  for (int n : {5, 7, 5}) {
    KPLGXPredVariable v;
    v.variableNumber = n;
    gx.Append(v);
  }
  KPLValidationResult result;
  EXPECT_FALSE(gx.Validate(&result));
  EXPECT_EQ(result.itemIndex, 2);
  EXPECT_EQ(result.errorCode, 3);
}

TEST(DomainObject, FlagsAndMarkAsNew) {
  KPLVariable v;
  EXPECT_FALSE(v.IsModified());
  EXPECT_FALSE(v.IsLoaded());
  v.SetLoaded(true);
  v.MarkAsNew();
  EXPECT_TRUE(v.IsModified());
  EXPECT_FALSE(v.IsLoaded());
  KPLVariable copy;
  copy = v;
  EXPECT_TRUE(copy.IsModified());
  v.Clear();
  EXPECT_FALSE(v.IsModified());
}

TEST(Guid, SetGetEmptyAndEquality) {
  KPLGuid g;
  g.Set("ab-12-cd");
  EXPECT_EQ(g.Get(), "AB-12-CD");
  EXPECT_TRUE(g.IsSet());

  KPLGuid unset = g;
  unset.Set("");  // clears the flag, keeps the text
  EXPECT_FALSE(unset.IsSet());
  EXPECT_EQ(unset.Get(), "");
  EXPECT_NE(unset, g);

  KPLGuid again;
  again.Set("AB-12-cd");
  EXPECT_EQ(again, g);

  g.Empty();
  EXPECT_EQ(g, KPLGuid());
}

}  // namespace
