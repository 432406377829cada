// Effort collections: pseudo-efforts, stage assignment from the visit's
// events, role and selection rules, composite efforts, deletions, searches.
// Most cases use the generic effort collection (composite rules); the base
// forms use a collection of generic efforts over the plain base.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KPLDomainObjects/KPLGenericEffortsCollection.h"
#include "KPLDomainObjects/KPLVisit.h"
#include "support/ReportCapture.h"

namespace {

using kpl::testing::ReportCapture;

KPLDateTimeValue At(int hour, int minute, int second = 0) {
  return KPLDateTimeValue::FromParts(2024, 3, 5, hour, minute, second);
}

KPLPFProtocolStage Stage(const char* label, int order, int doseCount = 0, double dose = 0.0) {
  KPLPFProtocolStage s;
  s.label = label;
  s.order = static_cast<std::uint8_t>(order);
  s.doseCount = static_cast<std::uint8_t>(doseCount);
  s.dose = dose;
  return s;
}

struct EffortRow {
  KPLDateTimeValue time;
  KPLPFProtocolStage stage;
  std::uint8_t role = kRoleNone;
  int selected = 1;
  int artificial = 0;
  int rpLp = 0;
};

KPLGenericEffort Effort(const EffortRow& row) {
  KPLGenericEffort e(3);
  e.effortTime = row.time;
  e.stage = row.stage;
  e.roleInfo.roleCode = row.role;
  e.selected = row.selected;
  e.artificial = row.artificial;
  e.rpLp = row.rpLp;
  return e;
}

// Records the stages whose composite effort was asked for.
class Efforts : public KPLGenericEffortsCollection {
 public:
  Efforts() : KPLGenericEffortsCollection(3) {}
  void CalculateArtificialEffort(const KPLPFProtocolStage* stage, std::int32_t& artificialIndex,
                                 KPLVisit* /*visit*/) override {
    calculated.push_back(stage->label);
    artificialIndex = 77;
  }
  std::vector<std::string> calculated;
};

// The base forms of selection, roles and deletion.
using BaseEfforts = KPLItemsCollection<KPLGenericEffort, KPLPFEffortsCollection, KPLCollectionKind::kGenericEfforts>;

template <class C>
C Make(const std::vector<EffortRow>& rows) {
  C c;
  for (const EffortRow& row : rows) c.Append(Effort(row));
  return c;
}

std::vector<int> Roles(KPLPFEffortsCollection& c) {
  std::vector<int> out;
  for (int i = 0; i < c.count; ++i) out.push_back(c.GetItem(i)->RoleCode());
  return out;
}

std::vector<int> Selected(KPLPFEffortsCollection& c) {
  std::vector<int> out;
  for (int i = 0; i < c.count; ++i) out.push_back(c.GetItem(i)->selected);
  return out;
}

std::vector<std::string> Labels(KPLPFEffortsCollection& c) {
  std::vector<std::string> out;
  for (int i = 0; i < c.count; ++i) {
    const KPLPFEffort* e = c.GetItem(i);
    out.push_back(e->stage.label + (e->artificial != 0 ? "*" : ""));
  }
  return out;
}

const KPLPFProtocolStage kA = Stage("A", 1, 1, 0.5);
const KPLPFProtocolStage kB = Stage("B", 2, 2, 1.0);
const KPLPFProtocolStage kC = Stage("C", 3, 1, 4.0);

TEST(EffortsCollectionBase, StoresNoItems) {
  KPLPFEffortsCollection base;
  KPLPFCompositeEffortsCollection composite;
  ReportCapture capture;
  EXPECT_EQ(base.GetItem(0), nullptr);
  EXPECT_EQ(composite.GetCurrentItem(), nullptr);
  const auto reports = capture.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].message, "Should never get here.");
  EXPECT_EQ(reports[0].lineNumber, 34);
  EXPECT_EQ(reports[1].lineNumber, 43);
  EXPECT_EQ(reports[1].moduleName, "KPLDomainObjects/KPLPFEffortsCollection");
  EXPECT_TRUE(base.GetCollectionFlag());
  EXPECT_TRUE(base.Validate(nullptr));
}

TEST(PseudoEfforts, SDEffortOnAnEmptyCollectionBringsThePredictedOne) {
  Efforts c;
  c.InsertEmptySDEffort();
  ASSERT_EQ(c.count, 2);
  EXPECT_EQ(c.currentIndex, -1);
  EXPECT_EQ(Roles(c), (std::vector<int>{kRolePredicted, kRoleStandardDeviation}));
  EXPECT_EQ(c.GetItem(0)->effortTime.FormatIso(), "1801-01-01T00:00:00");
  EXPECT_EQ(c.GetItem(1)->effortTime.FormatIso(), "1805-01-01T00:00:00");
  EXPECT_EQ(c.GetItem(1)->testType, 3);
  EXPECT_EQ(c.FindPredEffort(), c.GetItem(0));
  EXPECT_EQ(c.FindSDEffort(), c.GetItem(1));
  EXPECT_EQ(c.FirstMeasuredIndex(), -1);
  EXPECT_EQ(c.FindFirstReportingEffort(), nullptr);
}

TEST(PseudoEfforts, InsertedAheadOfMeasuredEffortsWithTheCursorPutBack) {
  Efforts c = Make<Efforts>({{At(10, 0), kA}, {At(10, 5), kA, kRoleReporting}});
  c.currentIndex = 1;
  c.InsertEmptyPredEffort();
  EXPECT_EQ(c.currentIndex, 1);
  c.InsertEmptySDEffort();
  EXPECT_EQ(c.currentIndex, 1);
  EXPECT_EQ(Roles(c), (std::vector<int>{kRolePredicted, kRoleStandardDeviation, kRoleNone, kRoleReporting}));
  EXPECT_EQ(c.FirstMeasuredIndex(), 2);
  EXPECT_EQ(c.FindFirstReportingEffort(), c.GetItem(3));
}

KPLVisit StagedVisit() {
  KPLVisit visit;
  visit.stages.Append(kA);
  visit.stages.Append(kB);
  const auto event = [&](KPLDateTimeValue time, int type, const char* label) {
    KPLVisitEvent e;
    e.time = time;
    e.type = type;
    e.label = label;
    visit.events.Append(e);
  };
  event(At(10, 0), 0, "");
  event(KPLDateTimeValue(), 1, "A");
  event(At(10, 20), 0, "");
  event(KPLDateTimeValue(), 1, "B");
  return visit;
}

TEST(AssignEffortsToStages, LaterMarkersOverwriteEarlierOnes) {
  KPLVisit visit = StagedVisit();
  Efforts c = Make<Efforts>({{At(9, 59), {}}, {At(10, 5), {}}, {At(10, 10), {}}, {At(10, 20), {}}, {At(10, 25), {}}});
  c.InsertEmptySDEffort();
  c.SetModified(false);
  EXPECT_TRUE(c.AssignEffortsToStages(&visit));
  // Before the first reference time: no stage; exactly at 10:20: still A.
  EXPECT_EQ(Labels(c), (std::vector<std::string>{"", "", "", "A", "A", "A", "B"}));
  std::vector<double> doses;
  for (int i = 2; i < c.count; ++i) doses.push_back(c.GetItem(i)->cumulativeDose);
  EXPECT_EQ(doses, (std::vector<double>{0.0, 0.5, 0.5, 0.5, 2.5}));
  EXPECT_TRUE(c.IsModified());
}

TEST(AssignEffortsToStages, OnlyPseudoEffortsIsLeftUntouched) {
  KPLVisit visit = StagedVisit();
  Efforts c;
  c.InsertEmptySDEffort();
  c.SetModified(false);
  EXPECT_TRUE(c.AssignEffortsToStages(&visit));
  EXPECT_FALSE(c.IsModified());
  EXPECT_EQ(Labels(c), (std::vector<std::string>{"", ""}));
}

TEST(AssignEffortsToStages, UnknownStageLabelStopsWithAReport) {
  KPLVisit visit = StagedVisit();
  visit.stages.currentIndex = 1;
  visit.stages.Remove();  // stage B is gone
  Efforts c = Make<Efforts>({{At(10, 5), {}}, {At(10, 25), {}}});
  ReportCapture capture;
  EXPECT_FALSE(c.AssignEffortsToStages(&visit));
  const auto reports = capture.Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].message, "Could not find stage label B.");
  EXPECT_EQ(reports[0].lineNumber, 273);
  EXPECT_EQ(reports[0].moduleName, "KPLDomainObjects/KPLPFEffortsCollection");
  EXPECT_EQ(Labels(c), (std::vector<std::string>{"A", "A"}));  // what was done stays
  EXPECT_EQ(c.count, 2);                                         // and the collection works on
}

TEST(AssignEffortsToStages, MeasuredEffortsLoseTheirRolesCompositeEffortsKeepTheirs) {
  KPLVisit visit = StagedVisit();
  Efforts c = Make<Efforts>({{At(10, 5), {}, kRoleReporting},
                             {At(10, 6), {}, kRoleShared, 1, 0, 1},
                             {At(10, 7), {}, kRoleShared, 0, 1}});
  EXPECT_TRUE(c.AssignEffortsToStages(&visit));
  EXPECT_EQ(Roles(c), (std::vector<int>{kRoleNone, kRoleNone, kRoleShared}));
  EXPECT_EQ(c.GetItem(1)->rpLp, 1);  // rpLp applied again
}

TEST(SetEffortRole, TakesTheRoleFromOthersAndAnyRoleFromTheStage) {
  // 0, 1: stage A (1 has role 3); 2: composite of A; 3: stage B with role 2.
  Efforts c = Make<Efforts>({{At(10, 0), kA},
                             {At(10, 1), kA, kRoleExclusive3},
                             {At(10, 2), kA, kRoleShared, 1, 1},
                             {At(10, 5), kB, kRoleReporting}});
  int clearedA = 55;
  int clearedB = 55;
  c.SetEffortRole(0, kRoleReporting, clearedA, clearedB, nullptr);
  EXPECT_EQ(clearedA, 3);  // the other holder of role 2
  EXPECT_EQ(clearedB, 2);  // the last effort of the stage that lost its role
  // The composite effort gets its shared mark back; the new holder ends unselected.
  EXPECT_EQ(Roles(c), (std::vector<int>{kRoleReporting, kRoleNone, kRoleShared, kRoleNone}));
  EXPECT_EQ(c.GetItem(0)->selected, 0);
  EXPECT_EQ(c.calculated, (std::vector<std::string>{"A"}));  // recomputed while selected
}

TEST(SetEffortRole, SharedMarkIsNotTakenFromOtherStages) {
  Efforts c = Make<Efforts>({{At(10, 0), kA}, {At(10, 5), kB, kRoleShared}});
  int clearedA = 0;
  int clearedB = 0;
  c.SetEffortRole(0, kRoleShared, clearedA, clearedB, nullptr);
  EXPECT_EQ(clearedA, -1);
  EXPECT_EQ(clearedB, -1);
  EXPECT_EQ(Roles(c), (std::vector<int>{kRoleShared, kRoleShared}));
}

TEST(SetEffortRole, BaseFormKeepsTheNewHolderSelected) {
  BaseEfforts c = Make<BaseEfforts>({{At(10, 0), kA, kRoleNone, 0}, {At(10, 1), kA, kRoleExclusive4}});
  int clearedA = 0;
  int clearedB = 0;
  c.SetEffortRole(0, kRoleExclusive4, clearedA, clearedB, nullptr);
  EXPECT_EQ(clearedA, 1);
  EXPECT_EQ(clearedB, -1);
  EXPECT_EQ(Roles(c), (std::vector<int>{kRoleExclusive4, kRoleNone}));
  EXPECT_EQ(c.GetItem(0)->selected, 1);
  c.SetEffortRole(0, kRoleNone, clearedA, clearedB, nullptr);
  EXPECT_EQ(Roles(c), (std::vector<int>{kRoleNone, kRoleNone}));
}

TEST(SetEffortSelected, MarkedEffortsAndTheRpLpEffort) {
  // Base form: a marked effort cannot be deselected.
  BaseEfforts base = Make<BaseEfforts>({{At(10, 0), kA, kRoleReporting}, {At(10, 1), kA}});
  int artificialIndex = -9;
  base.SetEffortSelected(0, artificialIndex, 0, nullptr, 0);
  base.SetEffortSelected(1, artificialIndex, 0, nullptr, 0);
  EXPECT_EQ(Selected(base), (std::vector<int>{1, 0}));
  EXPECT_EQ(artificialIndex, -9);

  // Composite form: the marked effort can; the rpLp effort cannot.
  Efforts c = Make<Efforts>({{At(10, 0), kA, kRoleReporting}, {At(10, 1), kA, kRoleNone, 0, 0, 1}});
  c.SetEffortSelected(0, artificialIndex, 0, nullptr, 0);
  EXPECT_EQ(artificialIndex, 77);  // written by the composite calculation
  c.SetEffortSelected(1, artificialIndex, 1, nullptr, 0);
  EXPECT_EQ(Selected(c), (std::vector<int>{0, 1}));
  c.calculated.clear();
  c.SetEffortSelected(1, artificialIndex, 0, nullptr, 0);
  EXPECT_EQ(Selected(c), (std::vector<int>{0, 1}));
  EXPECT_TRUE(c.calculated.empty());
}

TEST(SetEffortRpLp, OneMarkPerStage) {
  Efforts c = Make<Efforts>({{At(10, 0), kA, kRoleNone, 1, 0, 1},
                             {At(10, 1), kA, kRoleNone, 0},
                             {At(10, 2), kA, kRoleShared, 1, 1},
                             {At(10, 5), kB, kRoleNone, 1, 0, 1}});
  int previous = -5;
  int artificialIndex = -5;
  c.SetEffortRpLp(1, previous, artificialIndex, 1, nullptr);
  EXPECT_EQ(previous, 0);
  EXPECT_EQ(artificialIndex, 77);
  std::vector<int> marks;
  for (int i = 0; i < c.count; ++i) marks.push_back(c.GetItem(i)->rpLp);
  EXPECT_EQ(marks, (std::vector<int>{0, 1, 0, 1}));
  EXPECT_EQ(c.GetItem(1)->selected, 1);  // marking selects

  // A composite effort cannot carry the mark.
  c.GetItem(2)->rpLp = 1;
  previous = -5;
  c.SetEffortRpLp(2, previous, artificialIndex, 1, nullptr);
  EXPECT_EQ(c.GetItem(2)->rpLp, 0);
  EXPECT_EQ(previous, -5);
}

TEST(DeleteUnselectedEfforts, CompositeEffortGoesWithItsLastSelectedEffort) {
  Efforts c;
  c.InsertEmptySDEffort();
  for (const EffortRow& row : std::vector<EffortRow>{{At(10, 0), kA, kRoleNone, 0},
                                                        {At(10, 1), kA, kRoleNone, 1},
                                                        {At(10, 2), kA, kRoleShared, 0, 1},
                                                        {At(10, 5), kB, kRoleNone, 0},
                                                        {At(10, 6), kB, kRoleReporting, 0},
                                                        {At(10, 7), kB, kRoleShared, 0, 1}}) {
    c.Append(Effort(row));
  }
  c.DeleteUnselectedEfforts();
  EXPECT_EQ(Labels(c), (std::vector<std::string>{"", "", "A", "A*"}));
}

TEST(DeleteUnselectedEfforts, BaseFormRemovesEveryUnselectedMeasuredEffort) {
  BaseEfforts c = Make<BaseEfforts>({{At(10, 0), kA, kRoleNone, 0},
                                     {At(10, 1), kA, kRoleReporting, 0},
                                     {At(10, 2), kA, kRoleShared, 0, 1},
                                     {At(10, 3), kA, kRolePredicted, 0},
                                     {At(10, 4), kA, kRoleNone, 1}});
  c.DeleteUnselectedEfforts();
  EXPECT_EQ(Roles(c), (std::vector<int>{kRolePredicted, kRoleNone}));
}

TEST(BuildArtificialEfforts, EveryRunOfOneStageEndsWithACompositeEffort) {
  KPLVisit visit;
  Efforts c;
  c.InsertEmptySDEffort();
  for (const EffortRow& row : std::vector<EffortRow>{{At(10, 0), kA},
                                                        {At(10, 1), kA},
                                                        {At(10, 5), kB},
                                                        {At(10, 9), kC},
                                                        {At(10, 9, 30), kC}}) {
    KPLGenericEffort e = Effort(row);
    e.cumulativeDose = row.stage.order * 10.0;
    c.Append(e);
  }
  c.InsertArtificialEfforts(&visit);
  EXPECT_EQ(Labels(c), (std::vector<std::string>{"", "", "A", "A", "A*", "B", "B*", "C", "C", "C*"}));
  EXPECT_EQ(c.calculated, (std::vector<std::string>{"A", "B", "C"}));
  struct Expected {
    int index;
    const char* time;
    double dose;
  };
  for (const Expected& e : {Expected{4, "2024-03-05T10:01:01", 10.0}, Expected{6, "2024-03-05T10:05:01", 20.0},
                            Expected{9, "2024-03-05T10:09:31", 30.0}}) {
    const KPLPFEffort* composite = c.GetItem(e.index);
    EXPECT_EQ(composite->effortTime.FormatIso(), e.time);
    EXPECT_EQ(composite->RoleCode(), kRoleShared);
    EXPECT_EQ(composite->cumulativeDose, e.dose);
    EXPECT_EQ(composite->testType, 3);
  }
  EXPECT_EQ(c.LastEffortIsArtificial(), 1);
  EXPECT_EQ(c.FindArtificialEffort(&kB), c.GetItem(6));
}

TEST(RemoveEfforts, CompositeAndOldMarkedEfforts) {
  const KPLDateTimeValue old = KPLDateTimeValue::FromParts(1850, 1, 1, 1, 1, 0);
  const KPLDateTimeValue limit = KPLDateTimeValue::FromParts(1850, 1, 1, 1, 1, 1);
  const std::vector<EffortRow> rows = {{old, {}, kRolePredicted},   {old, {}, kRoleReporting},
                                         {old, {}, kRoleExclusive4},  {old, {}, kRoleShared},
                                         {limit, {}, kRoleReporting}, {At(10, 0), {}, kRoleShared, 1, 1}};
  Efforts c = Make<Efforts>(rows);
  c.RemoveOldMarkedEfforts();
  EXPECT_EQ(Roles(c), (std::vector<int>{kRolePredicted, kRoleShared, kRoleReporting, kRoleShared}));
  Efforts d = Make<Efforts>(rows);
  d.RemoveArtificialAndOldMarkedEfforts();
  EXPECT_EQ(Roles(d), (std::vector<int>{kRolePredicted, kRoleShared, kRoleReporting}));
}

TEST(FindMatchingEffort, Modes) {
  // 0 pred; 1 stage 1 unmarked at 10:00; 2 stage 1 marked at 10:01;
  // 3 stage 3 marked at 10:10; 4 stage 3 marked at 10:20.
  Efforts c = Make<Efforts>({{At(9, 0), {}, kRolePredicted},
                             {At(10, 0), kA},
                             {At(10, 1), kA, kRoleShared},
                             {At(10, 10), kC, kRoleReporting},
                             {At(10, 20), kC, kRoleShared}});
  const auto probe = [](KPLDateTimeValue time, const KPLPFProtocolStage& stage, std::uint8_t role = 0) {
    return Effort({time, stage, role});
  };
  struct Case {
    const char* label;
    KPLGenericEffort effort;
    int mode;
    int expected;  // index, −1 for null
  };
  const Case cases[] = {
      {"0: same time first", probe(At(10, 0), kC), 0, 1},
      {"0: else marked of the same order", probe(At(11, 0), kC), 0, 3},
      {"0: predicted probe skips the order search", probe(At(11, 0), kC, kRolePredicted), 0, -1},
      {"1: marked of the same order first", probe(At(10, 0), kA), 1, 2},
      {"1: else the same time", probe(At(10, 20), kB), 1, 4},
      {"1: predicted probe by time only", probe(At(10, 0), kA, kRolePredicted), 1, 1},
      {"9 behaves as 1", probe(At(10, 0), kA), 9, 2},
      {"1: nothing", probe(At(11, 0), kB), 1, -1},
      {"2: nearest lower order", probe(At(11, 0), Stage("D", 4)), 2, 3},
      {"2: then higher orders", probe(At(11, 0), Stage("Z", 0)), 2, 2},
      {"2: order 2 finds order 1 first", probe(At(11, 0), kB), 2, 2},
      {"2: predicted probe", probe(At(11, 0), kB, kRolePredicted), 2, -1},
      {"3: latest marked not later", probe(At(10, 15), kA), 3, 3},
      {"3: equal time counts", probe(At(10, 20), kA), 3, 4},
      {"3: before every marked effort", probe(At(10, 0), kA), 3, -1},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    const KPLPFEffort* found = c.FindMatchingEffort(tc.effort, tc.mode);
    EXPECT_EQ(found, tc.expected < 0 ? nullptr : c.GetItem(tc.expected));
  }
  Efforts empty;
  EXPECT_EQ(empty.FindMatchingEffort(probe(At(10, 0), kA), 0), nullptr);
}

TEST(FindArtificialEffort, NullStageIsReported) {
  Efforts c = Make<Efforts>({{At(10, 0), kA, kRoleShared, 1, 1}});
  ReportCapture capture;
  EXPECT_EQ(c.FindArtificialEffort(nullptr), nullptr);
  ASSERT_EQ(capture.Count(), 1u);
  EXPECT_EQ(capture.Reports()[0].message, "Stage not initialized.");
  EXPECT_EQ(capture.Reports()[0].lineNumber, 813);
  EXPECT_EQ(c.FindArtificialEffort(&kA), c.GetItem(0));
  EXPECT_EQ(c.FindArtificialEffort(&kB), nullptr);
}

TEST(HasStageWithoutSelection, EveryRunNeedsASelectedEffort) {
  struct Case {
    const char* label;
    std::vector<EffortRow> efforts;
    bool expected;
  };
  const Case cases[] = {
      {"no measured effort", {{At(9, 0), {}, kRolePredicted, 0}}, false},
      {"each run selected", {{At(10, 0), kA, 0, 0}, {At(10, 1), kA, 0, 1}, {At(10, 5), kB, 0, 1}}, false},
      {"first run unselected", {{At(10, 0), kA, 0, 0}, {At(10, 5), kB, 0, 1}}, true},
      {"last run unselected", {{At(10, 0), kA, 0, 1}, {At(10, 5), kB, 0, 0}}, true},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    Efforts c = Make<Efforts>(tc.efforts);
    EXPECT_EQ(c.HasStageWithoutSelection(), tc.expected);
  }
}

TEST(EffortOperations, IndexOutOfRangeReportsAndChangesNothing) {
  Efforts c = Make<Efforts>({{At(10, 0), kA}});
  c.SetModified(false);
  ReportCapture capture;
  int a = 5;
  int b = 6;
  c.SetEffortRole(1, kRoleReporting, a, b, nullptr);
  c.SetEffortSelected(-1, a, 0, nullptr, 0);
  c.SetEffortRpLp(3, a, b, 1, nullptr);
  EXPECT_EQ(a, 5);
  EXPECT_EQ(b, 6);
  EXPECT_FALSE(c.IsModified());
  EXPECT_EQ(capture.Messages(), (std::vector<std::string>{"Invalid efforts index: 1.", "Invalid efforts index: -1.",
                                                          "Invalid efforts index: 3."}));
}

TEST(EffortsCollection, CopiesDeeplyWithTheHostMembers) {
  Efforts source = Make<Efforts>({{At(10, 0), kA}});
  source.hostWords[8] = 9;
  source.hostBytes[2] = 3;
  source.collectionFlag = false;
  source.GetItem(0)->SetVariable(40, 1.25);
  Efforts copy;
  copy = source;
  copy.GetItem(0)->SetVariable(40, 2.5);
  EXPECT_EQ(source.GetItem(0)->GetVariable(40), 1.25);
  EXPECT_EQ(copy.hostWords[8], 9);
  EXPECT_EQ(copy.hostBytes[2], 3);
  EXPECT_FALSE(copy.GetCollectionFlag());
  EXPECT_EQ(copy.testType, 3);

  copy.Clear();
  EXPECT_TRUE(copy.collectionFlag);
  EXPECT_EQ(copy.hostWords[8], 0);
  EXPECT_EQ(copy.hostBytes[2], 3);  // Clear leaves them
}

TEST(EffortsCollection, ClearModifiedFlags) {
  Efforts c = Make<Efforts>({{At(10, 0), kA}, {At(10, 1), kA}});
  c.GetItem(1)->SetModified(true);
  c.ClearModifiedFlags();
  EXPECT_FALSE(c.IsModified());
}

TEST(Effort, ClearKeepsHostNumberB) {
  KPLGenericEffort e(16);
  e.hostNumberA = 4;
  e.hostNumberB = 5;
  e.rpLp = 1;
  e.SetVariable(12, 1.0);
  e.Clear();
  EXPECT_EQ(e.hostNumberA, -1);
  EXPECT_EQ(e.hostNumberB, 5);
  EXPECT_EQ(e.rpLp, 0);
  EXPECT_EQ(e.testType, 16);
  EXPECT_FALSE(e.HasVariable(12));
  EXPECT_EQ(e.effortTime.GetStatus(), KPLDateTimeValue::Status::kNull);
}

TEST(Effort, RecalculateCumulativeDoseCountsStagesGivenUpToItsOwn) {
  KPLVisit visit = StagedVisit();  // events start A and B
  visit.stages.Append(kC);         // given in no event
  KPLGenericEffort e(3);
  e.stage = kC;
  e.RecalculateCumulativeDose(&visit);
  EXPECT_EQ(e.cumulativeDose, 2.5);
  EXPECT_TRUE(e.IsModified());
  e.stage = kA;
  e.RecalculateCumulativeDose(&visit);
  EXPECT_EQ(e.cumulativeDose, 0.5);
}

TEST(ProtocolStage, EqualityAndValidation) {
  const KPLPFProtocolStage a = Stage("A", 1, 2, 0.5);
  KPLPFProtocolStage b = a;
  b.SetModified(true);
  EXPECT_TRUE(a == b);  // flags do not take part
  for (const auto& change : std::vector<void (*)(KPLPFProtocolStage&)>{
           [](KPLPFProtocolStage& s) { s.label = "a"; }, [](KPLPFProtocolStage& s) { s.stageGuid.Set("x"); },
           [](KPLPFProtocolStage& s) { s.doseCount = 3; }, [](KPLPFProtocolStage& s) { s.dose = 0.25; },
           [](KPLPFProtocolStage& s) { s.stageText = "t"; }, [](KPLPFProtocolStage& s) { s.order = 2; }}) {
    KPLPFProtocolStage changed = a;
    change(changed);
    EXPECT_FALSE(a == changed);
  }
  KPLValidationResult result;
  EXPECT_TRUE(a.Validate(&result));
  EXPECT_FALSE(KPLPFProtocolStage().Validate(&result));
  EXPECT_EQ(result.errorCode, 2);
}

}  // namespace
