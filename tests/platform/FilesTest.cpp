#include "platform/Files.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

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

// Nobody else may write a file open for writing: a second writer is refused
// and told apart as "in use", without its truncation harming the first.
TEST(Files, AFileOpenForWritingRefusesOtherWriters) {
  testutil::TempDir dir;
  const std::string path = dir.file("held.bin");
  const plat::NativeHandle writer = plat::openFile(path.c_str(), plat::FileMode::CreateReadWrite);
  ASSERT_NE(writer, plat::kInvalidHandle);
  std::uint32_t written = 0;
  ASSERT_TRUE(plat::writeFile(writer, "abc", 3, &written));
  for (plat::FileMode mode : {plat::FileMode::CreateReadWrite, plat::FileMode::OpenReadWrite}) {
    EXPECT_EQ(plat::openFile(path.c_str(), mode), plat::kInvalidHandle);
    EXPECT_TRUE(plat::isInUse(plat::lastError()));
  }
#ifndef _WIN32 // Windows readers that share reading only wait for the writer too
  const plat::NativeHandle reader = plat::openFile(path.c_str(), plat::FileMode::ReadExisting);
  ASSERT_NE(reader, plat::kInvalidHandle) << "others may read";
  EXPECT_EQ(plat::fileSize(reader), 3);
  plat::closeFile(reader);
#endif
  plat::closeFile(writer);
  const plat::NativeHandle next = plat::openFile(path.c_str(), plat::FileMode::CreateReadWrite);
  ASSERT_NE(next, plat::kInvalidHandle) << "free once the writer has closed";
  EXPECT_EQ(plat::fileSize(next), 0);
  plat::closeFile(next);
  EXPECT_FALSE(plat::isInUse(0));
}

#ifndef _WIN32
// A pipe with no writer would hold a blocking open forever.
TEST(Files, APipeIsNoFileToOpen) {
  testutil::TempDir dir;
  const std::string pipe = dir.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  plat::FindEntry entry;
  ASSERT_EQ(plat::findFile(pipe.c_str(), &entry), plat::FindResult::Found);
  EXPECT_TRUE(entry.isSpecial);
  EXPECT_FALSE(entry.isDirectory);
  for (plat::FileMode mode : {plat::FileMode::ReadExisting, plat::FileMode::OpenReadWrite})
    EXPECT_EQ(plat::openFile(pipe.c_str(), mode), plat::kInvalidHandle);
  std::vector<plat::FindEntry> entries;
  ASSERT_TRUE(plat::listDirectory(dir.path().c_str(), entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(entries[0].isSpecial);
  // Output may still go to a device.
  const plat::NativeHandle sink = plat::openFile("/dev/null", plat::FileMode::CreateReadWrite);
  EXPECT_NE(sink, plat::kInvalidHandle);
  plat::closeFile(sink);
  EXPECT_EQ(plat::openFile("/dev/null", plat::FileMode::ReadExisting), plat::kInvalidHandle);
}
#endif

} // namespace
