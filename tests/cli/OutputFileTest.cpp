#include "cli/OutputFile.h"
#include "testutil/NamedPipe.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

namespace {

bool Put(cli::OutputFile& out, const std::string& text) { return out.Write(text.data(), text.size()); }

} // namespace

// A regular output appears under its name only once complete; an output that
// is not committed leaves nothing behind, not even an older file's damage.
TEST(OutputFile, ARegularFileAppearsOnlyWhenComplete) {
  testutil::TempDir dir;
  const std::string path = dir.file("out.wav");
  testutil::WriteText(path, "old");
  {
    cli::OutputFile out(path);
    EXPECT_EQ(out.kind(), cli::OutputFile::Kind::Regular);
    ASSERT_TRUE(out.Open()) << out.error();
    ASSERT_TRUE(Put(out, "new content"));
    EXPECT_EQ(testutil::ReadText(path), "old");
  } // dropped without Commit
  EXPECT_EQ(testutil::ReadText(path), "old");
  EXPECT_FALSE(testutil::FileExists(cli::OutputFile::PartialPath(path)));

  cli::OutputFile out(path);
  ASSERT_TRUE(out.Open());
  ASSERT_TRUE(Put(out, "new content"));
  ASSERT_TRUE(out.Commit()) << out.error();
  EXPECT_EQ(testutil::ReadText(path), "new content");
  EXPECT_FALSE(testutil::FileExists(cli::OutputFile::PartialPath(path)));

  cli::OutputFile missing(dir.file("no/such/folder.wav"));
  EXPECT_FALSE(missing.Open());
  EXPECT_NE(missing.error().find("cannot be created"), std::string::npos) << missing.error();
  cli::OutputFile folder(dir.path());
  EXPECT_EQ(folder.kind(), cli::OutputFile::Kind::Folder);
  EXPECT_FALSE(folder.Open());
}

#if !defined(_WIN32)
// Devices and pipes are written directly: renaming over them would replace
// them with a regular file.
TEST(OutputFile, DevicesAndPipesAreWrittenDirectlyAndStayWhatTheyAre) {
  testutil::TempDir dir;
  testutil::NamedPipe pipe(dir.file("pipe"));
  ASSERT_TRUE(pipe.ok());
  const std::string& fifo = pipe.path();
  {
    cli::OutputFile out(fifo);
    EXPECT_EQ(out.kind(), cli::OutputFile::Kind::Direct);
    ASSERT_TRUE(out.Open()) << out.error();
    ASSERT_TRUE(Put(out, "through the pipe"));
    ASSERT_TRUE(out.Commit()) << out.error();
  }
  EXPECT_EQ(pipe.Received(), "through the pipe");
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  EXPECT_FALSE(testutil::FileExists(cli::OutputFile::PartialPath(fifo)));

  // A null device of the test's own (making one needs root).
  const std::string device = dir.file("null");
  if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "no device node can be made here";
  cli::OutputFile out(device);
  EXPECT_EQ(out.kind(), cli::OutputFile::Kind::Direct);
  ASSERT_TRUE(out.Open()) << out.error();
  ASSERT_TRUE(Put(out, "gone"));
  ASSERT_TRUE(out.Commit()) << out.error();
  EXPECT_TRUE(std::filesystem::is_character_file(device));
}

// A full disk is an error of the output, and the half-written file goes.
TEST(OutputFile, AFullDiskFailsTheOutput) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  cli::OutputFile out("/dev/full");
  ASSERT_TRUE(out.Open()) << out.error();
  const std::string block(1 << 16, 'x');
  bool written = Put(out, block);
  written = written && out.Commit();
  EXPECT_FALSE(written);
  EXPECT_NE(out.error().find("No space left"), std::string::npos) << out.error();
}
#endif
