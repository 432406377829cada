#include "KPLPlatform/SettingsHive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

#include "KPLPlatform/SqliteHive.h"
#include "support/TempDir.h"

namespace kpl::platform {
namespace {

using kpl::testing::TempDir;
constexpr const char* kKey = "SoftWare\\Quorvane\\Common";

// The same behaviour from both hives.
class HiveContract : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (GetParam()) {
      hive_ = std::make_unique<SqliteHive>(dir_.File("hive.db"));
    } else {
      hive_ = std::make_unique<MemoryHive>();
    }
  }
  TempDir dir_;
  std::unique_ptr<SettingsHive> hive_;
};

TEST_P(HiveContract, StoresTypedValuesUnderCreatedKeys) {
  EXPECT_FALSE(hive_->Set(kKey, "Weight Unit", std::uint32_t{3})) << "a value needs its key";
  ASSERT_TRUE(hive_->CreateKey(kKey));
  EXPECT_TRUE(hive_->KeyExists("SOFTWARE\\quorvane")) << "parents exist, names ignore case";
  ASSERT_TRUE(hive_->Set(kKey, "Weight Unit", std::uint32_t{3}));
  ASSERT_TRUE(hive_->Set(kKey, "strName", std::string("a b;c\nd")));
  ASSERT_TRUE(hive_->Set(kKey, "Big", std::uint32_t{4294967295u}));

  EXPECT_EQ(hive_->QueryNumber(kKey, "weight unit"), 3u);
  EXPECT_EQ(hive_->QueryText(kKey, "STRNAME"), "a b;c\nd");
  EXPECT_EQ(hive_->QueryNumber(kKey, "Big"), 4294967295u);
  EXPECT_EQ(hive_->TypeOf(kKey, "strName"), HiveValueType::kText);
  EXPECT_EQ(hive_->TypeOf(kKey, "Missing"), HiveValueType::kNone);
  EXPECT_FALSE(hive_->QueryNumber(kKey, "strName")) << "a text is not a number";

  // Rewriting with another type replaces the value and keeps the latest spelling.
  ASSERT_TRUE(hive_->Set(kKey, "WEIGHT UNIT", std::string("x")));
  auto values = hive_->Values(kKey);
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[2].name, "WEIGHT UNIT");
  EXPECT_TRUE(hive_->DeleteValue(kKey, "big"));
  EXPECT_FALSE(hive_->Query(kKey, "Big"));
}

INSTANTIATE_TEST_SUITE_P(Hives, HiveContract, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Sqlite" : "Memory"; });

TEST(SqliteHive, KeepsValuesAcrossOpens) {
  TempDir dir;
  {
    SqliteHive hive(dir.File("sub/folder/hive.db"));
    ASSERT_TRUE(hive.ok()) << hive.Error();
    ASSERT_TRUE(hive.CreateKey(kKey));
    ASSERT_TRUE(hive.Set(kKey, "n", std::uint32_t{7}));
  }
  SqliteHive again(dir.File("sub/folder/hive.db"));
  EXPECT_EQ(again.QueryNumber(kKey, "n"), 7u);
}

TEST(SqliteHive, RefusesFilesItCannotUseAndLeavesThemAlone) {
  TempDir dir;
  struct Case {
    const char* label;
    std::string content;
    const char* error;
  };
  const Case cases[] = {
      {"text file", "this is not a database\n", "file is not a database"},
      {"newer layout", "", "newer than this program's"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::string path = dir.File(std::string(c.label) + ".db");
    if (c.content.empty()) {
      SqliteHive make(path);
      ASSERT_TRUE(make.ok());
      ASSERT_TRUE(make.CreateKey(kKey));
      ASSERT_TRUE(make.Set(kKey, "n", std::uint32_t{1}));
    } else {
      dir.Write(std::string(c.label) + ".db", c.content);
    }
    if (c.content.empty()) {
      // Stamp a newer layout version from outside.
      ASSERT_EQ(std::system(("sqlite3 '" + path + "' 'PRAGMA user_version=99'").c_str()), 0);
    }
    const std::string before = TempDir::Read(path);
    SqliteHive hive(path);
    EXPECT_FALSE(hive.ok());
    EXPECT_NE(hive.Error().find(c.error), std::string::npos) << hive.Error();
    EXPECT_NE(hive.Error().find(path), std::string::npos) << "the message names the file";
    EXPECT_FALSE(hive.CreateKey(kKey));
    EXPECT_FALSE(hive.Set(kKey, "n", std::uint32_t{2}));
    EXPECT_FALSE(hive.Query(kKey, "n"));
    EXPECT_EQ(TempDir::Read(path), before);
  }
}

TEST(SqliteHive, ReadOnlyFileIsReadButNotWritten) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes through file permissions";
  TempDir dir;
  std::string path = dir.File("ro.db");
  {
    SqliteHive hive(path);
    ASSERT_TRUE(hive.CreateKey(kKey));
    ASSERT_TRUE(hive.Set(kKey, "n", std::uint32_t{5}));
  }
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  SqliteHive hive(path);
  EXPECT_EQ(hive.QueryNumber(kKey, "n"), 5u);
  EXPECT_FALSE(hive.Set(kKey, "n", std::uint32_t{6}));
  EXPECT_EQ(hive.QueryNumber(kKey, "n"), 5u);
}

TEST(SqliteHive, SeveralProcessesWriteAtOnce) {
  TempDir dir;
  const std::string path = dir.File("shared.db");
  {
    SqliteHive hive(path);
    ASSERT_TRUE(hive.CreateKey(kKey));
  }
  constexpr int kWriters = 3;
  constexpr int kValues = 60;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      SqliteHive hive(path, 20000);
      int failures = 0;
      for (int i = 0; i < kValues; ++i) {
        const std::string name = "w" + std::to_string(w) + "_" + std::to_string(i);
        if (!hive.Set(kKey, name, std::string(1000, static_cast<char>('a' + w)))) ++failures;
        if (!hive.Set(kKey, "shared", static_cast<std::uint32_t>(w))) ++failures;
      }
      _exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer lost a write";
  }
  SqliteHive hive(path);
  auto values = hive.Values(kKey);
  EXPECT_EQ(values.size(), static_cast<std::size_t>(kWriters * kValues + 1));
  for (const auto& v : values) {
    if (v.name == "shared") continue;
    const auto& text = std::get<std::string>(v.value);
    EXPECT_EQ(text, std::string(1000, v.name[1] - '0' + 'a')) << "value " << v.name << " is whole";
  }
}

TEST(MemoryHive, InjectedFaultsFailCleanly) {
  MemoryHive hive;
  ASSERT_TRUE(hive.CreateKey(kKey));
  hive.FailWritesOf("Executable Path");
  EXPECT_FALSE(hive.Set(kKey, "executable path", std::string("/x/")));
  EXPECT_TRUE(hive.Set(kKey, "Other", std::string("/x/")));
  hive.FailReads(true);
  EXPECT_FALSE(hive.Query(kKey, "Other"));
  EXPECT_FALSE(hive.KeyExists(kKey));
}

}  // namespace
}  // namespace kpl::platform
