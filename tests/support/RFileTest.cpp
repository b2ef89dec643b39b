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

} // namespace
