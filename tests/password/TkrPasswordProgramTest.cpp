// The TkrPassword command line: new password by option, old one by option or
// from standard input, exit statuses.
#include "support/TkrHeader.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class TkrPasswordProgram : public ::testing::Test {
protected:
  void SetUp() override {
    original.assign(80, 0x5A);
    TkrHeader header;
    header.totalLength = 80;
    header.checkWord = TkrHeader::Mix(80);
    header.Store(original.data());
    testutil::WriteBytes(dir.file("a.tkr"), original);
  }

  int run(const std::string& arguments, const std::string& input = "") {
    testutil::WriteText(dir.file("stdin.txt"), input);
    const std::string command =
        "cd '" + dir.path() + "' && '" TKR_PASSWORD_PROGRAM "' " + arguments + " >stdout.txt 2>stderr.txt <stdin.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::uint32_t checkWord() { return TkrHeader::Load(testutil::ReadBytes(dir.file("a.tkr")).data()).checkWord; }

  testutil::TempDir dir;
  Bytes original;
};

TEST_F(TkrPasswordProgram, ChangesOnlyTheCheckWordAndAsksForTheOldPassword) {
  ASSERT_EQ(run("--new first a.tkr"), 0);
  Bytes changed = testutil::ReadBytes(dir.file("a.tkr"));
  EXPECT_EQ(checkWord(), TkrHeader::CheckWord(80, "first"));
  for (int i = 8; i < 12; ++i)
    changed[i] = original[i];
  EXPECT_EQ(changed, original);
  EXPECT_EQ(testutil::ReadText(dir.file("stdout.txt")),
            dir.file("a.tkr") + " を処理します\nパスワードは正常にセットされました\n");

  EXPECT_EQ(run("--new second --old wrong a.tkr"), 1);
  EXPECT_EQ(checkWord(), TkrHeader::CheckWord(80, "first"));
  EXPECT_NE(testutil::ReadText(dir.file("stderr.txt")).find("パスワードが違います"), std::string::npos);

  EXPECT_EQ(run("--new second a.tkr", "nope\nfirst\n"), 0); // asked twice on the terminal
  EXPECT_EQ(checkWord(), TkrHeader::CheckWord(80, "second"));
  EXPECT_EQ(run("-n third a.tkr", "x\ny\nz\nsecond\n"), 1); // three wrong tries give up
  EXPECT_NE(testutil::ReadText(dir.file("stdout.txt")).find("パスワードの変更を中断しました"), std::string::npos);
  EXPECT_EQ(run("-n third -o second a.tkr"), 0);
  EXPECT_EQ(checkWord(), TkrHeader::CheckWord(80, "third"));
}

TEST_F(TkrPasswordProgram, RefusesAnEmptyPasswordAndReportsFailures) {
  EXPECT_EQ(run("--new '' a.tkr"), 1);
  EXPECT_NE(testutil::ReadText(dir.file("stderr.txt")).find("パスワードが設定されてないとまずいっしょ（笑）"),
            std::string::npos);
  EXPECT_EQ(testutil::ReadBytes(dir.file("a.tkr")), original);
  EXPECT_EQ(run("a.tkr"), 1); // no new password at all
  EXPECT_EQ(run("--new x none.tkr a.tkr"), 1);
  EXPECT_EQ(checkWord(), TkrHeader::CheckWord(80, "x")); // the next archive still follows
  EXPECT_EQ(run("--new"), 2);
  EXPECT_EQ(run("--help"), 0);
}

} // namespace
