#include "support/RFile.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using testutil::TempDir;

TEST(RFile, ReadOnAFailedOpenPrintsTheFatalErrorLineAndReturnsZero) {
  TempDir dir;
  RFile file;
  EXPECT_FALSE(file.Open(dir.file("missing.bin").c_str(), RFile::kRead));
  char buffer[16];
  testing::internal::CaptureStdout();
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(printed.rfind("FatalError : RFile::Read = ", 0), 0u) << printed;
  EXPECT_EQ(printed.back(), '\n');
}

TEST(RFile, ModesCreateOpenAndTruncate) {
  TempDir dir;
  const std::string path = dir.file("data.bin");
  {
    RFile file;
    EXPECT_FALSE(file.Open(path.c_str(), RFile::kReadWrite)) << "mode 2 needs an existing file";
    ASSERT_TRUE(file.Open(path.c_str(), RFile::kCreate));
    EXPECT_EQ(file.Write("hello world", 11), 11u);
    EXPECT_EQ(file.Size(), 11);
  }
  {
    RFile file;
    ASSERT_TRUE(file.Open(path.c_str(), RFile::kReadWrite));
    EXPECT_EQ(file.Seek(6), 6);
    EXPECT_EQ(file.Write("WORLD", 5), 5u);
  }
  {
    RFile file;
    ASSERT_TRUE(file.Open(path.c_str(), RFile::kRead));
    char text[12] = {};
    EXPECT_EQ(file.Read(text, 20), 11u) << "a short read at the end is no failure";
    EXPECT_STREQ(text, "hello WORLD");
    EXPECT_EQ(file.Seek(-5, plat::SeekOrigin::End), 6);
    EXPECT_EQ(file.Position(), 6);
    EXPECT_EQ(std::string(file.Name().c_str()), path);
  }
  {
    RFile file;
    ASSERT_TRUE(file.Open(path.c_str(), RFile::kCreate));
    EXPECT_EQ(file.Size(), 0) << "mode 1 truncates";
  }
}

TEST(RFile, AFolderIsNotAFile) {
  TempDir dir;
  RFile file;
  EXPECT_FALSE(file.Open(dir.path().c_str(), RFile::kRead));
}

// A failed open is one of opening only for a file of data.
TEST(RFile, NamesDataFileTellsFilesOfDataFromTheRest) {
  TempDir dir;
  testutil::WriteText(dir.file("data.bin"), "x");
  EXPECT_TRUE(RFile::NamesDataFile(dir.file("data.bin").c_str()));
  EXPECT_FALSE(RFile::NamesDataFile(dir.path().c_str()));
  EXPECT_FALSE(RFile::NamesDataFile(dir.file("*.bin").c_str()));
  EXPECT_FALSE(RFile::NamesDataFile(dir.file("missing.bin").c_str()));
}

// A name longer than the 500-byte name buffer cannot be held: the open fails
// and nothing is thrown, whatever the mode.
TEST(RFile, ANameTooLongForTheBufferFailsTheOpen) {
  TempDir dir;
  // Separators pad the path to 500 bytes; it names n.bin in the folder.
  const std::string name = dir.path() + std::string(500 - dir.path().size() - 5, plat::kPathSeparator) + "n.bin";
  ASSERT_EQ(name.size(), 500u);
  for (int mode : {RFile::kRead, RFile::kCreate, RFile::kReadWrite}) {
    RFile file;
    EXPECT_FALSE(file.Open(name.c_str(), mode));
    EXPECT_FALSE(file.IsOpen());
  }
  EXPECT_FALSE(testutil::FileExists(dir.file("n.bin"))) << "nothing was created";
}

} // namespace
