// The visit: SetPredicted into the pseudo-efforts of every test's collection,
// the test-type, sex and race codes, the age at the visit; and the variable
// tables of the FVC, PEF and FOT efforts that SetPredicted writes through.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KPLDomainObjects/KPLVisit.h"
#include "support/ReportCapture.h"

namespace {

using kpl::testing::ReportCapture;

// Every test type with a collection, with the effort class it must hold and
// a variable number that class accepts.
struct CollectionRow {
  int testType;
  int variable;
};
const CollectionRow kCollections[] = {
    {1, 4},    {16, 1},  {3, 52},  {2, 60},  {9, 70},  {11, 80}, {20, 90},   {10, 100}, {5, 110},
    {4, 120},  {12, 130}, {21, 140}, {25, 337}, {22, 150}, {23, 160}, {8, 170}, {27, 298},
};

TEST(SetPredicted, CreatesBothPseudoEffortsOnceInEveryCollection) {
  for (const CollectionRow& row : kCollections) {
    SCOPED_TRACE(row.testType);
    KPLVisit visit;
    KPLPFEffortsCollection* efforts = visit.EffortsCollection(row.testType);
    ASSERT_NE(efforts, nullptr);
    ReportCapture capture;
    visit.SetPredicted(row.testType, row.variable, 3.25, 0.5);
    ASSERT_EQ(efforts->count, 2);
    EXPECT_TRUE(efforts->IsModified());
    EXPECT_EQ(efforts->GetItem(0)->RoleCode(), kRolePredicted);
    EXPECT_EQ(efforts->GetItem(0)->testType, row.testType);
    EXPECT_EQ(efforts->GetItem(1)->RoleCode(), kRoleStandardDeviation);
    EXPECT_DOUBLE_EQ(efforts->FindPredEffort()->GetVariable(row.variable), 3.25);
    EXPECT_DOUBLE_EQ(efforts->FindSDEffort()->GetVariable(row.variable), 0.5);

    efforts->SetModified(false);
    visit.SetPredicted(row.testType, row.variable, 4.0, 0.75);
    EXPECT_EQ(efforts->count, 2);
    EXPECT_TRUE(efforts->IsModified());
    EXPECT_DOUBLE_EQ(efforts->FindPredEffort()->GetVariable(row.variable), 4.0);
    EXPECT_DOUBLE_EQ(efforts->FindSDEffort()->GetVariable(row.variable), 0.75);
    EXPECT_EQ(capture.Count(), 0u);
  }
}

TEST(SetPredicted, WritesIntoExistingPseudoEffortsAheadOfMeasuredOnes) {
  KPLVisit visit;
  KPLFVCEffort measured;
  measured.effortTime = KPLDateTimeValue::FromParts(2024, 3, 5, 10, 0);
  visit.fvcEfforts.Append(measured);
  visit.fvcEfforts.InsertEmptyPredEffort();
  visit.SetPredicted(1, 2, 4.5, 0.6);
  ASSERT_EQ(visit.fvcEfforts.count, 3);
  EXPECT_EQ(visit.fvcEfforts.GetItem(1)->RoleCode(), kRoleStandardDeviation);
  EXPECT_EQ(visit.fvcEfforts.GetItem(2)->GetVariable(2), 0.0);
  EXPECT_EQ(visit.fvcEfforts.GetItem(0)->GetVariable(2), 4.5);
}

TEST(SetPredicted, TestTypesWithoutCollectionAndInvalidOnes) {
  struct Case {
    int testType;
    bool reported;
  };
  const Case cases[] = {{0, false}, {13, false}, {15, false}, {17, false}, {18, false}, {19, false},
                        {26, false}, {6, true},   {7, true},   {14, true},  {24, true},  {-1, true},
                        {28, true}};
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.testType);
    KPLVisit visit;
    ReportCapture capture;
    visit.SetPredicted(tc.testType, 4, 1.0, 0.1);
    if (tc.reported) {
      ASSERT_EQ(capture.Count(), 1u);
      EXPECT_EQ(capture.Reports()[0].message, "Invalid test type " + std::to_string(tc.testType) + ".");
      EXPECT_EQ(capture.Reports()[0].moduleName, "KPLDomainObjects/KPLVisit");
    } else {
      EXPECT_EQ(capture.Count(), 0u);
    }
    for (const CollectionRow& row : kCollections) EXPECT_EQ(visit.EffortsCollection(row.testType)->count, 0);
  }
}

TEST(SetPredicted, NumberTheEffortClassRefusesIsReportedByTheEffort) {
  KPLVisit visit;
  ReportCapture capture;
  visit.SetPredicted(27, 2, 400.0, 50.0);
  EXPECT_EQ(capture.Messages(), (std::vector<std::string>{"Invalid PEF variable: 2.", "Invalid PEF variable: 2."}));
  EXPECT_EQ(visit.pefEfforts.count, 2);
}

TEST(TestType, CodesNamesAndStringResources) {
  struct Case {
    int code;
    bool valid;
    bool collection;
    const char* name;
    int stringId;
  };
  const Case cases[] = {
      {0, true, false, "", 0},          {1, true, true, "FVC", 20},        {2, true, true, "MVV", 21},
      {3, true, true, "SVC", 22},       {4, true, true, "DLCO", 23},       {5, true, true, "FRC (N2)", 24},
      {8, true, true, "ABG", 19},       {9, true, true, "MIP/MEP", 25},    {10, true, true, "Static", 29},
      {11, true, true, "Dynamic", 28},  {12, true, true, "SBN2", 26},      {16, true, true, "Pleth", 27},
      {20, true, true, "P100", 30},     {21, true, true, "Delta CO2", 31}, {25, true, true, "FOT", 32},
      {22, true, true, "", 0},          {23, true, true, "", 0},           {27, true, true, "", 0},
      {13, true, false, "", 0},         {26, true, false, "", 0},          {6, false, false, "", 0},
      {24, false, false, "", 0},        {-3, false, false, "", 0},         {28, false, false, "", 0},
  };
  KPLVisit visit;
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.code);
    EXPECT_EQ(KPLTestType::IsValid(tc.code), tc.valid);
    EXPECT_EQ(KPLTestType::HasCollection(tc.code), tc.collection);
    EXPECT_EQ(visit.EffortsCollection(tc.code) != nullptr, tc.collection);
    EXPECT_EQ(KPLTestType::DisplayName(tc.code), tc.name);
    EXPECT_EQ(KPLTestType::StringId(tc.code), tc.stringId);
  }
}

TEST(Patient, SexAndRaceCodes) {
  EXPECT_EQ(KPLPatient::SexDisplayName(1), "Male");
  EXPECT_EQ(KPLPatient::SexDisplayName(2), "Female");
  EXPECT_EQ(KPLPatient::SexDisplayName(3), "");
  std::vector<std::string> listed;
  for (auto race : KPLPatient::kRaceListOrder) listed.emplace_back(KPLPatient::RaceDisplayName(race));
  EXPECT_EQ(listed, (std::vector<std::string>{"Caucasian", "Black", "Hispanic", "Asian", "NE Asian", "SE Asian",
                                              "<Unspecified>"}));
  EXPECT_EQ(KPLPatient::RaceDisplayName(8), "");
  const int groups[] = {-1, 0, 1, 2, 3, -1, 3, 3, -1};  // races 0 … 8
  for (int race = 0; race <= 8; ++race) EXPECT_EQ(KPLPatient::RaceGroup(race), groups[race]) << race;
}

TEST(Visit, AgeAtVisit) {
  KPLPatient patient;
  KPLVisit visit;
  visit.age = 41.5f;
  visit.visitDate = KPLDateTimeValue::FromParts(2024, 3, 5);
  EXPECT_EQ(visit.AgeAtVisit(), 41.5);  // no patient record
  visit.patient = &patient;
  EXPECT_EQ(visit.AgeAtVisit(), 41.5);  // birth date not valid
  patient.birthDate = KPLDateTimeValue::FromParts(1984, 3, 5);
  // 14610 days × 1/365.25 rounded to single precision: not quite 40.
  EXPECT_DOUBLE_EQ(visit.AgeAtVisit(), 14610.0 * static_cast<double>(static_cast<float>(1.0 / 365.25)));
  EXPECT_NEAR(visit.AgeAtVisit(), 40.0000013877, 1e-9);
  visit.visitDate = KPLDateTimeValue();  // a visit without a date keeps its stored age
  EXPECT_EQ(visit.AgeAtVisit(), 41.5);
}

TEST(Visit, CopiesItsCollectionsDeeply) {
  KPLVisit visit;
  visit.SetPredicted(4, 120, 25.0, 4.0);
  KPLVisit copy = visit;
  copy.SetPredicted(4, 120, 30.0, 5.0);
  EXPECT_EQ(visit.dlcoEfforts.FindPredEffort()->GetVariable(120), 25.0);
  EXPECT_EQ(copy.dlcoEfforts.FindPredEffort()->GetVariable(120), 30.0);
  EXPECT_EQ(copy.dlcoEfforts.testType, 4);
  visit.Clear();
  EXPECT_EQ(visit.dlcoEfforts.count, 0);
  EXPECT_EQ(visit.dlcoEfforts.testType, 4);
}

TEST(FVCEffort, AcceptsItsVariableTable) {
  KPLFVCEffort e;
  EXPECT_EQ(e.testType, 1);
  for (int number : KPLFVCEffort::kVariableNumbers) e.SetVariable(number, number * 0.5);
  for (int number : KPLFVCEffort::kVariableNumbers) EXPECT_EQ(e.GetVariable(number), number * 0.5) << number;

  ReportCapture capture;
  e.SetVariable(54, 1.0);  // accepted and ignored
  EXPECT_EQ(capture.Count(), 0u);
  EXPECT_EQ(e.GetVariable(54), 0.0);
  e.SetVariable(1, 1.0);
  double out = -1.0;
  e.GetVariable(999, &out);
  EXPECT_EQ(out, 0.0);
  const auto reports = capture.Reports();
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0].message, "Invalid FVC variable: 54.");
  EXPECT_EQ(reports[0].lineNumber, 625);
  EXPECT_EQ(reports[1].message, "Invalid FVC variable: 1.");
  EXPECT_EQ(reports[1].lineNumber, 411);
  EXPECT_EQ(reports[2].message, "Invalid FVC variable: 999.");
  EXPECT_EQ(reports[2].moduleName, "KPLDomainObjects/KPLFVCEffort");

  KPLFVCEffort copy = e;
  e.Clear();
  EXPECT_EQ(e.GetVariable(4), 0.0);
  EXPECT_EQ(copy.GetVariable(4), 2.0);
}

TEST(PEFEffort, Values298And299) {
  KPLPEFEffort e;
  EXPECT_EQ(e.testType, 27);
  e.SetVariable(298, 410.0);
  e.SetVariable(299, 7.0);
  EXPECT_EQ(e.GetVariable(298), 410.0);
  EXPECT_EQ(e.GetVariable(299), 7.0);
  ReportCapture capture;
  e.SetVariable(300, 1.0);
  EXPECT_EQ(e.GetVariable(297), 0.0);
  const auto reports = capture.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].message, "Invalid PEF variable: 300.");
  EXPECT_EQ(reports[0].lineNumber, 85);
  EXPECT_EQ(reports[1].message, "Invalid PEF variable: 297.");
  EXPECT_EQ(reports[1].lineNumber, 116);
  EXPECT_EQ(reports[1].moduleName, "KPLDomainObjects/KPLPEFEffort");
}

TEST(FOTEffort, SummaryValuesArePerVariableAndSinglePrecision) {
  KPLFOTEffort e;
  EXPECT_EQ(e.testType, 25);
  for (int n = 334; n <= 341; ++n) e.SetVariable(n, n + 0.1);
  for (int n = 334; n <= 341; ++n) EXPECT_EQ(e.GetVariable(n), static_cast<double>(static_cast<float>(n + 0.1)));
  // Stored order 334, 335, 337, 338, 336, 340, 341, 339.
  EXPECT_EQ(e.summary[2], static_cast<float>(337.1));
  EXPECT_EQ(e.summary[4], static_cast<float>(336.1));
  EXPECT_EQ(e.summary[7], static_cast<float>(339.1));
}

TEST(FOTEffort, PointVariablesBuildTheFrequencyGrid) {
  KPLFOTEffort e;
  for (int n : {342, 343, 344}) e.SetVariable(n, n);
  EXPECT_EQ(e.fotData.realValues, (std::vector<double>{342, 343, 344}));
  EXPECT_EQ(e.fotData.frequencies, (std::vector<double>{4, 6, 8}));
  EXPECT_EQ(e.fotData.frequencyCount, 3);
  EXPECT_EQ(e.GetVariable(343), 343.0);
  EXPECT_EQ(e.GetVariable(364), 0.0);  // beyond the stored values

  KPLFOTEffort sparse;
  sparse.SetVariable(345, 1.5);
  EXPECT_EQ(sparse.fotData.realValues, (std::vector<double>{0, 0, 0, 1.5}));
  EXPECT_EQ(sparse.fotData.frequencies, (std::vector<double>{10}));
  EXPECT_EQ(sparse.fotData.frequencyCount, 1);

  KPLFOTEffort other;
  other.SetVariable(366, -0.5);  // imaginary, index 1
  other.SetVariable(388, 0.99);  // coherence, index 0
  EXPECT_EQ(other.GetVariable(366), -0.5);
  EXPECT_EQ(other.GetVariable(388), 0.99);

  ReportCapture capture;
  e.SetVariable(411, 1.0);
  EXPECT_EQ(e.GetVariable(333), 0.0);
  const auto reports = capture.Reports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].message, "Invalid FOT variable: 411.");
  EXPECT_EQ(reports[0].lineNumber, 348);
  EXPECT_EQ(reports[1].message, "Invalid FOT variable: 333.");
  EXPECT_EQ(reports[1].lineNumber, 677);
}

TEST(FOTEffort, HasData) {
  struct Case {
    const char* label;
    int dataType;
    std::vector<double> frequencies, coherence, real, imag;
    bool expected;
  };
  const Case cases[] = {
      {"reference data", 3, {2, 4}, {}, {1, 2}, {3, 4}, true},
      {"no frequencies", 3, {}, {}, {}, {}, false},
      {"measured without coherence", 2, {2, 4}, {}, {1, 2}, {3, 4}, false},
      {"measured with coherence", 1, {2, 4}, {1, 1}, {1, 2}, {}, true},
      {"real values too short", 3, {2, 4}, {}, {1}, {}, false},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    KPLFOTData data;
    data.dataType = tc.dataType;
    data.frequencies = tc.frequencies;
    data.SetCoherence(tc.coherence);
    data.SetRealValues(tc.real);
    data.SetImagValues(tc.imag);
    KPLFOTEffort e;
    e.SetFOTData(data);
    EXPECT_EQ(e.HasData(), tc.expected);
    EXPECT_EQ(e.fotData.frequencyCount, static_cast<int>(tc.frequencies.size()));
  }
}

}  // namespace
