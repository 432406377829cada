#include "KPLClassLibrary/KplGlobal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "KPLClassLibrary/KPLRegistry.h"
#include "KPLPlatform/Installed.h"
#include "KPLPlatform/Process.h"
#include "KPLPlatform/Prompt.h"
#include "KPLPlatform/SettingsHive.h"
#include "support/ReportCapture.h"
#include "support/TempDir.h"

namespace {

using namespace kpl::platform;
using kpl::testing::TempDir;

class CountingTerminator final : public Terminator {
 public:
  void Abort() override { ++calls; }
  int calls = 0;
};

// The real report path: a hive whose executable folder is a temporary folder
// with a blank in its name, a recording prompt, a fixed clock.
class ReportAssertionTest : public ::testing::Test {
 protected:
  ReportAssertionTest() {
    std::filesystem::create_directories(exeDir_);
    EXPECT_TRUE(hive_->CreateKey(KPLRegistry::kCommonKeyPath));
    Set("Executable Path", exeDir_);
  }
  void Set(const char* name, const HiveValue& value) {
    ASSERT_TRUE(hive_->Set(KPLRegistry::kCommonKeyPath, name, value));
  }
  void InstallReportProgram() {
    std::filesystem::copy_file(KPL_RECORD_ARGS, exeDir_ + kKplAssertProgramName);
    setenv("KPL_RECORD_FILE", record_.c_str(), 1);
  }
  ~ReportAssertionTest() override { unsetenv("KPL_RECORD_FILE"); }

  std::string LogPath() const { return exeDir_ + "KPLAssertError.log"; }
  std::vector<std::string> PromptTexts() const {
    std::vector<std::string> out;
    for (const auto& r : prompt_->Requests()) out.push_back(r.text);
    return out;
  }

  TempDir dir_;
  const std::string exeDir_ = dir_.File("Program Files/Lab Suite/");
  const std::string record_ = dir_.File("record.bin");
  std::shared_ptr<MemoryHive> hive_ = std::make_shared<MemoryHive>();
  std::shared_ptr<RecordingPrompt> prompt_ = std::make_shared<RecordingPrompt>();
  std::shared_ptr<CountingTerminator> terminator_ = std::make_shared<CountingTerminator>();
  ScopedInstall<SettingsHive> installHive_{hive_};
  ScopedInstall<Prompt> installPrompt_{prompt_};
  ScopedInstall<Terminator> installTerminator_{terminator_};
  ScopedInstall<Locale> installLocale_{std::make_shared<FixedLocale>(CivilTime{2026, 3, 1, 10, 30, 0})};
};

constexpr const char* kEntry =
    "\n03/01/26 10:30:00\nVersion: 8.1\nModule Name: KPLClassLibrary/KplWeight\nLine Number: 42\n"
    "Error Message: \nInvalid weight unit: 9.\n";

TEST_F(ReportAssertionTest, TrueConditionDoesNothing) {
  ReportAssertion(1, "KPLClassLibrary/KplWeight", 42, "Invalid weight unit: 9.");
  EXPECT_FALSE(std::filesystem::exists(LogPath()));
  EXPECT_TRUE(prompt_->Requests().empty());
  EXPECT_EQ(hive_->WriteCount(), 1) << "not even the settings are read";
}

TEST_F(ReportAssertionTest, IgnoringErrorsAppendsOneEntryPerReport) {
  Set("bIgnoreAssertErrors", std::uint32_t{1});
  dir_.Write("Program Files/Lab Suite/KPLAssertError.log", "earlier entry\n");
  ReportAssertion(0, "KPLClassLibrary/KplWeight", 42, "Invalid weight unit: 9.");
  ReportAssertion(0, "KPLClassLibrary/KplWeight", 42, "Invalid weight unit: 9.");
  EXPECT_EQ(TempDir::Read(LogPath()), std::string("earlier entry\n") + kEntry + kEntry);
  EXPECT_TRUE(prompt_->Requests().empty());
}

TEST_F(ReportAssertionTest, FirstReportCreatesTheSettings) {
  Set("bIgnoreAssertErrors", std::uint32_t{1});
  ReportAssertion(0, "m", 1, "x");
  EXPECT_EQ(hive_->QueryText(KPLRegistry::kCommonKeyPath, "strAssertLogFileName"), "KPLAssertError.log");
}

TEST_F(ReportAssertionTest, MissingReportProgramIsShownAndTheCallerGoesOn) {
  ReportAssertion(0, "KPLClassLibrary/KplWeight", 42, "Invalid weight unit: 9.");
  EXPECT_EQ(TempDir::Read(LogPath()), kEntry);
  ASSERT_EQ(prompt_->Requests().size(), 1u);
  EXPECT_EQ(prompt_->Requests()[0].text, "Can't find KPLAssert.\n\r" + exeDir_ + "KPLAssert");
  EXPECT_EQ(prompt_->Requests()[0].icon, PromptIcon::kExclamation);
  EXPECT_EQ(terminator_->calls, 0);
}

TEST_F(ReportAssertionTest, UnopenableLogIsShownAndReportingGoesOn) {
  Set("strAssertLogFileName", std::string("no such folder/log.txt"));
  ReportAssertion(0, "m", 7, "x");
  EXPECT_EQ(PromptTexts(), (std::vector<std::string>{
                               "Can't open assert log file: " + exeDir_ + "no such folder/log.txt.",
                               "Can't find KPLAssert.\n\r" + exeDir_ + "KPLAssert",
                           }));
}

TEST_F(ReportAssertionTest, StartsTheReportProgramThenAsksWhetherToAbort) {
  InstallReportProgram();
  const std::string message = "Bad line; with \"quotes\"\nand a second line";
  prompt_->QueueAnswer(PromptAnswer::kNo);
  ReportAssertion(0, "KPLDomainObjects/KPLVisit", 321, message);

  // The program got its path as one argument and the report as the next.
  const std::string recorded = TempDir::Read(record_);
  const std::string expected = exeDir_ + "KPLAssert" + '\0' + "ASSERT;03/01/26 10:30:00;8.1;KPLDomainObjects/KPLVisit;321;" +
                               message + '\0' + '\0';
  EXPECT_EQ(recorded, expected);
  ASSERT_EQ(prompt_->Requests().size(), 1u);
  EXPECT_EQ(prompt_->Requests()[0].text, "Do you want to abort?");
  EXPECT_EQ(prompt_->Requests()[0].buttons, PromptButtons::kYesNo);
  EXPECT_EQ(prompt_->Requests()[0].defaultAnswer, PromptAnswer::kNo);
  EXPECT_EQ(terminator_->calls, 0);

  prompt_->QueueAnswer(PromptAnswer::kYes);
  ReportAssertion(0, "KPLDomainObjects/KPLVisit", 321, message);
  EXPECT_EQ(terminator_->calls, 1);
}

TEST(ReportAssertionDeath, YesEndsTheProcess) {
  // Only the real terminator: everything else as the host would set it up.
  TempDir dir;
  std::filesystem::copy_file(KPL_RECORD_ARGS, dir.File("KPLAssert"));
  auto hive = std::make_shared<MemoryHive>();
  ASSERT_TRUE(hive->CreateKey(KPLRegistry::kCommonKeyPath));
  ASSERT_TRUE(hive->Set(KPLRegistry::kCommonKeyPath, "Executable Path", dir.Path()));
  auto prompt = std::make_shared<RecordingPrompt>();
  prompt->QueueAnswer(PromptAnswer::kYes);
  ScopedInstall<SettingsHive> h(hive);
  ScopedInstall<Prompt> p(prompt);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(ReportAssertion(0, "m", 1, "fatal"), "");
}

TEST(RoundToDecimalPlaces, HalfAwayFromZero) {
  struct Case {
    double value;
    int places;
    double expected;
  } cases[] = {
      {2.345, 2, 2.35},  {-2.456, 2, -2.46}, {2.996, 2, 3.0},   {0.5, 0, 1.0},
      {-0.5, 0, -1.0},   {7.0, 0, 7.0},      {1.23456, 4, 1.2346}, {0.0, 3, 0.0},
      {123456.7, 0, 123457.0}, {3e9 + 0.5, 0, 3e9 + 1.0},  // beyond 32 bits: still rounds
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(RoundToDecimalPlaces(c.value, c.places), c.expected, 1e-12) << c.value << " to " << c.places;
    double inPlace = c.value;
    RoundToDecimalPlaces(&inPlace, c.places);
    EXPECT_EQ(inPlace, RoundToDecimalPlaces(c.value, c.places));
  }
}

TEST(RoundToDecimalPlaces, NegativePlacesAreReported) {
  kpl::testing::ReportCapture capture;
  EXPECT_EQ(RoundToDecimalPlaces(2.345, -1), 2.345);
  ASSERT_EQ(capture.Count(), 1u);
  EXPECT_EQ(capture.Reports()[0].message, "Invalid decimal places: -1.");
  EXPECT_EQ(capture.Reports()[0].moduleName, "KPLClassLibrary/KplGlobal");
}

}  // namespace
