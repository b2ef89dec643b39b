// The TkrPassword command line: new password by option, old one by option or
// from standard input, exit statuses.
#include "format/TkrHeader.h"
#include "testutil/PseudoTerminal.h"
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
  EXPECT_EQ(run("-n third --old second a.tkr"), 0);
  EXPECT_EQ(checkWord(), TkrHeader::CheckWord(80, "third"));
}

// Usage errors exit 2 before any archive is touched; each archive that fails
// is named on standard error with its reason and the others still follow.
TEST_F(TkrPasswordProgram, UsageErrorsAndFailuresHaveTheirStatusAndReason) {
  const struct {
    const char* arguments;
    int status;
    const char* error; // on standard error
  } cases[] = {
      {"", 2, "no new password given"},
      {"a.tkr", 2, "no new password given"},
      {"--new '' a.tkr", 2, "パスワードが設定されてないとまずいっしょ（笑）"},
      {"--new x", 2, "no archive given"},
      {"--new", 2, "needs a value"},
      {"-o x a.tkr", 2, "unknown option -o"},
      {"--new x none.tkr", 1, "none.tkr: そのファイルは存在しません"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    EXPECT_EQ(run(c.arguments), c.status);
    const std::string errors = testutil::ReadText(dir.file("stderr.txt"));
    EXPECT_NE(errors.find(c.error), std::string::npos) << errors;
    if (c.status == 2) {
      EXPECT_NE(errors.find("Try 'TkrPassword --help'"), std::string::npos);
    }
    EXPECT_EQ(testutil::ReadBytes(dir.file("a.tkr")), original);
  }
  testutil::WriteBytes(dir.file("short.tkr"), Bytes(63, 'T'));
  EXPECT_EQ(run("--new x none.tkr short.tkr a.tkr"), 1);
  EXPECT_EQ(checkWord(), TkrHeader::CheckWord(80, "x")); // the next archive still follows
  EXPECT_NE(testutil::ReadText(dir.file("stderr.txt")).find("short.tkr: そのファイルはTkrファイルではありません"),
            std::string::npos);
  // A wrong --old fails that archive only.
  testutil::WriteBytes(dir.file("b.tkr"), original);
  EXPECT_EQ(run("--new y --old wrong a.tkr b.tkr"), 1);
  EXPECT_EQ(checkWord(), TkrHeader::CheckWord(80, "x"));
  EXPECT_EQ(TkrHeader::Load(testutil::ReadBytes(dir.file("b.tkr")).data()).checkWord, TkrHeader::CheckWord(80, "y"));

  EXPECT_EQ(run("-q --new z --old x a.tkr"), 0);
  EXPECT_EQ(testutil::ReadText(dir.file("stdout.txt")), ""); // quiet
  EXPECT_EQ(run("--help"), 0);
  EXPECT_NE(testutil::ReadText(dir.file("stdout.txt")).find("Exit status:"), std::string::npos);
  EXPECT_EQ(run("--version"), 0);
  EXPECT_EQ(testutil::ReadText(dir.file("stdout.txt")).rfind("TkrPassword (tkw) ", 0), 0u);
}

// Ctrl-C at the hidden old-password prompt ends the program and gives the
// terminal its echo back.
TEST_F(TkrPasswordProgram, CtrlCAtThePromptLeavesTheTerminalEchoing) {
  ASSERT_EQ(run("--new first a.tkr"), 0);
  testutil::PseudoTerminal terminal;
  ASSERT_TRUE(terminal.ok());
  ASSERT_TRUE(terminal.EchoOn());
  ASSERT_TRUE(terminal.Start("exec '" TKR_PASSWORD_PROGRAM "' --new second a.tkr", dir.path()));
  ASSERT_TRUE(terminal.WaitFor("旧パスワードを入力して下さい: ")) << terminal.screen();
  terminal.Type("sec"); // half typed, not echoed
  terminal.Type("\x03");
  EXPECT_EQ(terminal.Wait(), 128 + 2); // ended by SIGINT, as the shell expects
  EXPECT_TRUE(terminal.EchoOn());
  EXPECT_EQ(terminal.screen().find("sec"), std::string::npos);
  EXPECT_EQ(checkWord(), TkrHeader::CheckWord(80, "first"));
}

} // namespace
