#include "KPLPlatform/FileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TempDir.h"

namespace kpl::platform {
namespace {

using kpl::testing::TempDir;

TEST(BufferedFile, OpensWithoutSharing) {
  TempDir dir;
  const std::string path = dir.File("a.txt");
  BufferedFile first, second;
  ASSERT_TRUE(first.Open(path, {.read = false, .write = true, .create = true, .truncate = false}));
  EXPECT_FALSE(second.Open(path, {.read = true, .write = false, .create = false, .truncate = false}));
  first.Close();
  EXPECT_TRUE(second.Open(path, {.read = true, .write = false, .create = false, .truncate = false}));
}

TEST(BufferedFile, ReadsLinesWithAndWithoutEnds) {
  TempDir dir;
  const std::string path = dir.Write("lines.txt", "one\r\ntwo\nthree");
  BufferedFile file;
  ASSERT_TRUE(file.Open(path, {.read = true, .write = false, .create = false, .truncate = false}));
  std::string line;
  ASSERT_TRUE(file.ReadLine(line, false));
  EXPECT_EQ(line, "one");
  ASSERT_TRUE(file.ReadLine(line, true));
  EXPECT_EQ(line, "two\n");
  ASSERT_TRUE(file.ReadLine(line, false, 2));
  EXPECT_EQ(line, "th");
  ASSERT_TRUE(file.ReadLine(line, false));
  EXPECT_EQ(line, "ree");
  EXPECT_FALSE(file.ReadLine(line, false));
}

TEST(FileSystem, HideKeepsTimesAndTakesAwayOthersAccess) {
  TempDir dir;
  const std::string path = dir.Write("h.txt", "x");
  struct stat before {}, after {};
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  ASSERT_TRUE(HideFile(path));
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode & 0777, 0600u);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

TEST(FileSystem, DataFolderEndsWithSeparator) {
  const std::string folder = DefaultDataFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
}

}  // namespace
}  // namespace kpl::platform
