// The TkrConverter command line: the saved queue, the ini password, the log
// on the terminal and in Log.txt, and its exit statuses.
#include "TkwFileBytes.h"
#include "converter/TkrConverterSettings.h"
#include "support/TkrHeader.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace {

class TkrConverterProgram : public ::testing::Test {
protected:
  void SetUp() override {
    testutil::WriteBytes(dir.file("s.tkw"), testutil::MakeTkwBytes({}));
    testutil::WriteText(dir.file("good.txt"), "1 s.tkw\n");
    testutil::WriteText(dir.file("bad.txt"), "1 s.tkw\n2 gone.tkw\n");
  }

  // Runs the program in the test folder; its exit status.
  int run(const std::string& arguments) {
    const std::string command =
        "cd '" + dir.path() + "' && '" TKR_CONVERTER_PROGRAM "' " + arguments + " >stdout.txt 2>stderr.txt </dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::uint32_t checkWordOf(const char* archive) {
    return TkrHeader::Load(testutil::ReadBytes(dir.file(archive)).data()).checkWord;
  }

  testutil::TempDir dir;
};

TEST_F(TkrConverterProgram, ConvertsTheSavedQueueWithTheSavedPassword) {
  TkrConverterSettings settings;
  settings.password = "pw";
  ASSERT_TRUE(settings.Save(dir.file("TkrConverter.ini")));
  ASSERT_TRUE(TkrConverterSettings::SaveQueue(dir.file("TkrList.txt"), {"good.txt", "bad.txt"}));

  EXPECT_EQ(run(""), 1); // one list failed
  // The queue's own text names each list; the archive is named in full.
  const std::string expected = std::string("bad.txt の処理中 :\n") +
                               "2行目に不正な記述があります(ファイルが存在しません)\n処理を中断します。\n" +
                               "good.txt の処理中 :\n" + dir.file("good.tkr") + " を作成しました\n" +
                               "キューをすべて消化しました\n";
  EXPECT_EQ(testutil::ReadText(dir.file("stdout.txt")), expected);
  EXPECT_EQ(testutil::ReadText(dir.file("Log.txt")), expected);
  const auto size = static_cast<std::uint32_t>(testutil::ReadBytes(dir.file("good.tkr")).size());
  EXPECT_EQ(checkWordOf("good.tkr"), TkrHeader::CheckWord(size, "pw"));
  EXPECT_FALSE(testutil::FileExists(dir.file("bad.tkr")));
}

TEST_F(TkrConverterProgram, OptionsOverrideTheSavedSettings) {
  TkrConverterSettings settings;
  settings.password = "saved";
  ASSERT_TRUE(settings.Save(dir.file("TkrConverter.ini")));
  EXPECT_EQ(run("--no-password good.txt"), 0);
  const auto size = static_cast<std::uint32_t>(testutil::ReadBytes(dir.file("good.tkr")).size());
  EXPECT_EQ(checkWordOf("good.tkr"), TkrHeader::Mix(size));
  EXPECT_EQ(run("-p other good.txt"), 0);
  EXPECT_EQ(checkWordOf("good.tkr"), TkrHeader::CheckWord(size, "other"));

  settings.setPassword = false; // the box is off: the saved text does not apply
  ASSERT_TRUE(settings.Save(dir.file("TkrConverter.ini")));
  EXPECT_EQ(run("good.txt"), 0);
  EXPECT_EQ(checkWordOf("good.tkr"), TkrHeader::Mix(size));
}

TEST_F(TkrConverterProgram, HelpAndUsageErrors) {
  EXPECT_EQ(run("--help"), 0);
  EXPECT_NE(testutil::ReadText(dir.file("stdout.txt")).find("Usage: TkrConverter"), std::string::npos);
  EXPECT_EQ(run("--bogus good.txt"), 2);
  EXPECT_EQ(run("good.txt -p"), 2);
  EXPECT_FALSE(testutil::FileExists(dir.file("good.tkr")));
}

} // namespace
