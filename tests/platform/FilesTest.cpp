#include "platform/Files.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

TEST(Files, FindTellsAMissingFileFromAMissingFolder) {
  testutil::TempDir dir;
  testutil::WriteText(dir.file("here.txt"), "x");
  plat::FindEntry entry;
  EXPECT_EQ(plat::findFile(dir.file("here.txt").c_str(), &entry), plat::FindResult::Found);
  EXPECT_EQ(entry.name, "here.txt");
  EXPECT_FALSE(entry.isDirectory);
  EXPECT_EQ(plat::findFile(dir.file("absent.txt").c_str()), plat::FindResult::FileNotFound);
  const std::string deeper = dir.file(std::string("nofolder") + plat::kPathSeparator + "x.txt");
  EXPECT_EQ(plat::findFile(deeper.c_str()), plat::FindResult::PathNotFound);
  EXPECT_EQ(plat::findFile(dir.file("*.txt").c_str(), &entry), plat::FindResult::Found);
  EXPECT_EQ(entry.name, "here.txt");
}

TEST(Files, ListDirectoryNamesFilesAndFolders) {
  testutil::TempDir dir;
  testutil::WriteText(dir.file("a.wav"), "x");
  ASSERT_TRUE(plat::makeDirectory(dir.file("sub").c_str()));
  std::vector<plat::FindEntry> entries;
  ASSERT_TRUE(plat::listDirectory(dir.path().c_str(), entries));
  std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "a.wav");
  EXPECT_FALSE(entries[0].isDirectory);
  EXPECT_EQ(entries[1].name, "sub");
  EXPECT_TRUE(entries[1].isDirectory);
  EXPECT_TRUE(plat::removeDirectory(dir.file("sub").c_str()));
  EXPECT_FALSE(plat::removeDirectory(dir.path().c_str())) << "a folder with a file stays";
}

TEST(Files, FullPathNameResolvesDotsWithoutTouchingTheDisk) {
  testutil::TempDir dir;
  std::string base;
  ASSERT_TRUE(plat::fullPathName(dir.path().c_str(), base));
  const char s = plat::kPathSeparator;
  std::string full;
  ASSERT_TRUE(plat::fullPathName((dir.path() + s + "x" + s + ".." + s + "." + s + "y.tkw").c_str(), full));
  EXPECT_EQ(full, base + s + "y.tkw");
}

TEST(Files, RenameReplacesTheTarget) {
  testutil::TempDir dir;
  testutil::WriteText(dir.file("new"), "new");
  testutil::WriteText(dir.file("old"), "old");
  ASSERT_TRUE(plat::renameFile(dir.file("new").c_str(), dir.file("old").c_str()));
  EXPECT_EQ(testutil::ReadText(dir.file("old")), "new");
  EXPECT_FALSE(testutil::FileExists(dir.file("new")));
}

} // namespace
