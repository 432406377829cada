#include "KPLClassLibrary/KPLRegistry.h"

#include <gtest/gtest.h>

#include "KPLPlatform/FileSystem.h"
#include "KPLPlatform/Installed.h"
#include "KPLPlatform/Prompt.h"
#include "KPLPlatform/SettingsHive.h"

namespace {

using namespace kpl::platform;
constexpr const char* kCommon = KPLRegistry::kCommonKeyPath;

class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest() : hive_(std::make_shared<MemoryHive>()), prompt_(std::make_shared<RecordingPrompt>()) {}

  void Stored(const char* name, const HiveValue& value) {
    ASSERT_TRUE(hive_->CreateKey(kCommon));
    ASSERT_TRUE(hive_->Set(kCommon, name, value));
  }
  KPLRegistry Loaded() {
    KPLRegistry r;
    r.Open();
    r.Load();
    return r;
  }

  std::shared_ptr<MemoryHive> hive_;
  std::shared_ptr<RecordingPrompt> prompt_;
  ScopedInstall<SettingsHive> installHive_{hive_};
  ScopedInstall<Prompt> installPrompt_{prompt_};
  ScopedInstall<Locale> installLocale_{std::make_shared<FixedLocale>(CivilTime{2026, 3, 1, 10, 30, 0})};
};

TEST_F(RegistryTest, FreshHiveGetsDefaultsWrittenBack) {
  KPLRegistry r = Loaded();
  EXPECT_TRUE(r.bOpened);
  EXPECT_TRUE(r.bLoaded);
  EXPECT_TRUE(r.bExecutablePathWritten);
  EXPECT_EQ(r.strExecutablePath, DefaultDataFolder());
  EXPECT_EQ(r.strConfigPath, DefaultDataFolder() + "Cfg/");

  struct Number {
    const char* name;
    std::int32_t KPLRegistry::*field;
    std::int32_t expected;
  } numbers[] = {
      {"nLimitCalculations", &KPLRegistry::nLimitCalculations, 2},
      {"Weight Unit", &KPLRegistry::nWeightUnit, 2},
      {"Height Unit", &KPLRegistry::nHeightUnit, 1},
      {"nDoseDecimals", &KPLRegistry::nDoseDecimals, 5},
      {"nBMIDecimals", &KPLRegistry::nBMIDecimals, 1},
      {"Temperature Unit", &KPLRegistry::nTemperatureUnit, 2},
      {"Speed Unit", &KPLRegistry::nSpeedUnit, 5},
      {"nReportsMRUCount", &KPLRegistry::nReportsMRUCount, 10},
      {"nHardwareComPort", &KPLRegistry::nHardwareComPort, 1},
      {"nCommandTimeout", &KPLRegistry::nCommandTimeout, 60},
      {"nAssesmentWarning", &KPLRegistry::nAssesmentWarning, 6},
      {"bIgnoreAssertErrors", &KPLRegistry::bIgnoreAssertErrors, 0},
  };
  for (const auto& n : numbers) {
    EXPECT_EQ(r.*(n.field), n.expected) << n.name;
    EXPECT_EQ(hive_->QueryNumber(kCommon, n.name), static_cast<std::uint32_t>(n.expected)) << n.name;
  }
  struct Text {
    const char* name;
    std::string KPLRegistry::*field;
    const char* expected;
  } texts[] = {
      {"strLocalServerName", &KPLRegistry::strLocalServerName, "(local)"},
      {"strAName", &KPLRegistry::strAName, "Tq4nWolvSerp7Hadix2Bem"},
      {"strAssertLogFileName", &KPLRegistry::strAssertLogFileName, "KPLAssertError.log"},
      {"strPostFileFormat", &KPLRegistry::strPostFileFormat, "6005_"},
      {"strDefaultPredSetName", &KPLRegistry::strDefaultPredSetName, "Default"},
      {"strDefaultGXPredSetName", &KPLRegistry::strDefaultGXPredSetName, "Default"},
      {"strLocalECGArchivePath", &KPLRegistry::strLocalECGArchivePath, "/ECG Data/"},
  };
  for (const auto& t : texts) {
    EXPECT_EQ(r.*(t.field), t.expected) << t.name;
    EXPECT_EQ(hive_->QueryText(kCommon, t.name), t.expected) << t.name;
  }
  EXPECT_EQ(r.strAValue.size(), 8u);
  EXPECT_EQ(hive_->QueryText(kCommon, "strAValue"), r.strAValue);
  EXPECT_EQ(Loaded().strAValue, r.strAValue) << "kept once written";

  // Not written back: the last login and the three dates (now, from the clock).
  EXPECT_FALSE(hive_->Query(kCommon, "strLastLogin"));
  EXPECT_FALSE(hive_->Query(kCommon, "OrdersLastSynchronized"));
  EXPECT_EQ(r.dtOrdersLastSynchronized.FormatIso(), "2026-03-01T10:30:00");
}

TEST_F(RegistryTest, LoadRulesOfStoredValues) {
  Stored("Executable Path", std::string("d:/apps"));
  Stored("nReportsMRUCount", std::uint32_t{25});
  Stored("Temperature Unit", std::uint32_t{1});
  Stored("Speed Unit", std::uint32_t{0});
  Stored("bShowReportSwitchboard", std::uint32_t{1});
  Stored("strSharedServerPath", std::string("/srv/db"));
  Stored("strLocalECGArchivePath", std::string("/ecg"));
  Stored("nHardwareComPort", std::string("COM3"));
  Stored("strPostFileFormat", std::string(50, 'x'));  // needs 51 bytes: unreadable
  Stored("OrdersLastSynchronized", std::string("02/03/25 04:05:06"));

  KPLRegistry r = Loaded();
  EXPECT_EQ(r.strExecutablePath, "d:/apps/");
  EXPECT_EQ(hive_->QueryText(kCommon, "Executable Path"), "d:/apps/");
  EXPECT_EQ(r.strConfigPath, "d:/apps/Cfg/");
  EXPECT_EQ(r.nReportsMRUCount, 10);
  EXPECT_EQ(hive_->QueryNumber(kCommon, "nReportsMRUCount"), 25u) << "the stored value stays";
  EXPECT_EQ(r.nTemperatureUnit, 3);
  EXPECT_EQ(hive_->QueryNumber(kCommon, "Temperature Unit"), 1u);
  EXPECT_EQ(r.nSpeedUnit, 4);
  EXPECT_EQ(r.bShowReportSwitchboard, 0);
  EXPECT_EQ(r.strSharedServerPath, "/srv/db/");
  EXPECT_EQ(r.strLocalECGArchivePath, "/ecg/");
  EXPECT_EQ(r.nHardwareComPort, 1);
  EXPECT_EQ(hive_->QueryNumber(kCommon, "nHardwareComPort"), 1u) << "retyped as a number";
  EXPECT_EQ(r.strPostFileFormat, "6005_");
  EXPECT_EQ(hive_->QueryText(kCommon, "strPostFileFormat"), "6005_");
  EXPECT_EQ(r.dtOrdersLastSynchronized.FormatIso(), "2025-02-03T04:05:06");
}

TEST_F(RegistryTest, DefaultEcgArchiveFollowsTheExecutableDrive) {
  struct Case {
    const char* executablePath;
    const char* ecg;
  } cases[] = {
      {"d:/apps/", "d:/ECG Data/"},
      {"c:/Program Files/x/", "c:/ECG Data/"},
      {"//server/share/", "/ECG Data/"},
      {":odd/", "/ECG Data/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(kpl_detail::DefaultEcgArchivePath(c.executablePath), c.ecg) << c.executablePath;
  }
}

TEST_F(RegistryTest, UnopenedKeysGiveDefaultsAndWriteNothing) {
  hive_->FailWrites(true);
  hive_->FailReads(true);
  KPLRegistry r = Loaded();
  EXPECT_FALSE(r.bOpened);
  EXPECT_FALSE(r.bExecutablePathWritten);
  EXPECT_EQ(r.nWeightUnit, 2);
  EXPECT_EQ(r.strAssertLogFileName, "KPLAssertError.log");
  EXPECT_FALSE(r.Store());
  EXPECT_EQ(hive_->WriteCount(), 0);
}

TEST_F(RegistryTest, StoreWritesItsSubsetOnly) {
  KPLRegistry r = Loaded();
  r.nWeightUnit = 3;
  r.nWeightDecimals = 4;  // not stored
  r.strDefaultPredSetName = "GLI 2012";
  r.strLocalServerName = "elsewhere";  // not stored
  r.dtOrdersLastSynchronized = KPLDateTimeValue::FromParts(2024, 12, 31, 23, 59, 58);
  ASSERT_TRUE(r.Store());

  EXPECT_EQ(hive_->QueryNumber(kCommon, "Weight Unit"), 3u);
  EXPECT_EQ(hive_->QueryNumber(kCommon, "nWeightDecimals"), 2u);
  EXPECT_EQ(hive_->QueryText(kCommon, "strDefaultPredSetName"), "GLI 2012");
  EXPECT_EQ(hive_->QueryText(kCommon, "strLocalServerName"), "(local)");
  EXPECT_EQ(hive_->QueryText(kCommon, "OrdersLastSynchronized"), "12/31/24 23:59:58");
  EXPECT_EQ(Loaded().dtOrdersLastSynchronized, r.dtOrdersLastSynchronized);
}

TEST_F(RegistryTest, StoreRefusals) {
  {
    KPLRegistry never;
    never.Open();
    EXPECT_FALSE(never.Store()) << "never loaded";
    EXPECT_EQ(hive_->WriteCount(), 0);
  }
  KPLRegistry r = Loaded();
  const int writes = hive_->WriteCount();

  r.nHeightUnit = 0;
  EXPECT_FALSE(r.Store());
  ASSERT_EQ(prompt_->Requests().size(), 1u);
  EXPECT_EQ(prompt_->Requests()[0].text,
            "Common - Weight and/or height unit is zero indicating corrupt memory.  Store registry terminated.");
  EXPECT_EQ(prompt_->Requests()[0].buttons, PromptButtons::kOk);
  EXPECT_EQ(hive_->WriteCount(), writes);

  r.nHeightUnit = 1;
  r.nWeightUnit = 4;
  hive_->FailWritesOf("Executable Path");
  EXPECT_FALSE(r.Store());
  EXPECT_EQ(hive_->WriteCount(), writes) << "nothing after a failed Executable Path";
}

TEST_F(RegistryTest, CopiesCarryFieldsAndState) {
  KPLDataStoreRegistry original;
  KPLRegistry& base = original;
  base.Open();
  original.Load();
  EXPECT_EQ(original.nStoreBusyTimeout, 5000);
  EXPECT_EQ(hive_->QueryNumber(kCommon, "nStoreBusyTimeout"), 5000u);
  original.nStoreBusyTimeout = 750;
  original.nPressureUnit = 2;
  ASSERT_TRUE(original.Store());

  KPLDataStoreRegistry copy = original;
  EXPECT_EQ(copy.nStoreBusyTimeout, 750);
  EXPECT_EQ(copy.nPressureUnit, 2);
  EXPECT_TRUE(copy.bLoaded);
  EXPECT_EQ(copy.hCommonKey, original.hCommonKey);
  KPLDataStoreRegistry assigned;
  assigned = copy;
  EXPECT_EQ(assigned.strAValue, original.strAValue);

  KPLDataStoreRegistry reread;
  static_cast<KPLRegistry&>(reread).Open();
  reread.Load();
  EXPECT_EQ(reread.nStoreBusyTimeout, 750);
}

TEST(RegistryFields, TableCoversTheRecordInOrder) {
  auto fields = KPLRegistry::Fields();
  ASSERT_EQ(fields.size(), 58u);
  EXPECT_STREQ(fields.front().valueName, "Executable Path");
  EXPECT_STREQ(fields.back().valueName, "strLocalECGArchivePath");
  int stored = 0;
  for (const auto& f : fields) stored += f.stored ? 1 : 0;
  EXPECT_EQ(stored, 26);
  ASSERT_NE(KPLRegistry::FindField("weight UNIT"), nullptr);
  EXPECT_EQ(KPLRegistry::FindField("weight UNIT")->type, KPLRegistry::FieldType::kNumber);
  EXPECT_EQ(KPLRegistry::FindField("nothing"), nullptr);
}

}  // namespace
