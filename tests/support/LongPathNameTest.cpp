#include "support/RString.h"
#include "testutil/TempDir.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testutil::TempDir;

std::string LongForm(const std::string& path) {
  std::string full;
  EXPECT_TRUE(plat::fullPathName(path.c_str(), full));
  RString text(full.c_str());
  EXPECT_TRUE(text.ToLongPathName());
  return text.c_str();
}

TEST(LongPathName, ExistingPathIsMadeFullAndSucceeds) {
  TempDir dir;
  testutil::WriteText(dir.file("song.wav"), "x");
  testutil::ScopedCurrentDirectory inside(dir.path());

  RString text("song.wav");
  EXPECT_TRUE(text.ToLongPathName());
  const std::string expected = LongForm(dir.path()) + plat::kPathSeparator + "song.wav";
  EXPECT_EQ(text.c_str(), expected);
}

TEST(LongPathName, MissingLastComponentDependsOnTheRule) {
  TempDir dir;
  const std::string missing = dir.file("absent.tkw");
  const std::string expected = LongForm(dir.path()) + plat::kPathSeparator + "absent.tkw";

  struct Case {
    LongNameRule rule;
    bool result;
  } cases[] = {{LongNameRule::MissingIsFailure, false}, {LongNameRule::MissingIsSuccess, true}};
  for (const auto& c : cases) {
    RString text(missing.c_str());
    EXPECT_EQ(text.ToLongPathName(c.rule), c.result);
    EXPECT_EQ(text.c_str(), expected) << "the missing part is appended unchanged";
  }
}

TEST(LongPathName, MissingFolderKeepsTheRestOfThePath) {
  TempDir dir;
  const std::string tail = std::string("nofolder") + plat::kPathSeparator + "x.tkw";
  RString text(dir.file(tail).c_str());
  EXPECT_FALSE(text.ToLongPathName());
  EXPECT_EQ(text.c_str(), LongForm(dir.path()) + plat::kPathSeparator + tail);
}

TEST(LongPathName, AResultOfFiveHundredBytesOrMoreFails) {
#ifdef _WIN32
  GTEST_SKIP() << "the ANSI file calls of Windows stop at 260 characters";
#endif
  TempDir dir;
  const std::string base = LongForm(dir.path());
  ASSERT_LT(base.size(), 250u);
  // An existing folder chain, then a file whose full path is 499 bytes (fits)
  // or 500 bytes (does not).
  const std::string outer = base + plat::kPathSeparator + std::string(150, 'f');
  const std::string folder = outer + plat::kPathSeparator + std::string(150, 'g');
  ASSERT_TRUE(plat::makeDirectory(outer.c_str()));
  ASSERT_TRUE(plat::makeDirectory(folder.c_str()));
  const std::size_t fitting = 499 - folder.size() - 1;
  const std::string fits = folder + plat::kPathSeparator + std::string(fitting, 'a');
  const std::string tooLong = folder + plat::kPathSeparator + std::string(fitting + 1, 'b');
  testutil::WriteText(fits, "x");
  testutil::WriteText(tooLong, "x");

  RString text(fits.c_str());
  EXPECT_TRUE(text.ToLongPathName());
  EXPECT_EQ(text.c_str(), fits);

  testutil::ScopedCurrentDirectory inside(folder);
  RString relative(std::string(fitting + 1, 'b').c_str());
  EXPECT_FALSE(relative.ToLongPathName());
  EXPECT_LT(relative.length(), 500u);
  EXPECT_EQ(std::string(relative.c_str()), folder) << "the prefix built so far";
}

} // namespace
