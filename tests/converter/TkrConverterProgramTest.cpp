// The TkrConverter command line: the saved queue, the ini password, the log
// on the terminal and in Log.txt, and its exit statuses.
#include "TkwFileBytes.h"
#include "converter/TkrConverterSettings.h"
#include "format/TkrHeader.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST_F(TkrConverterProgram, HelpVersionAndUsageErrors) {
  EXPECT_EQ(run("--help"), 0);
  const std::string help = testutil::ReadText(dir.file("stdout.txt"));
  EXPECT_EQ(help.rfind("Usage: TkrConverter", 0), 0u);
  EXPECT_NE(help.find("  -p, --password=TEXT"), std::string::npos) << help;
  EXPECT_NE(help.find("Exit status:\n  0"), std::string::npos) << help;
  EXPECT_EQ(run("--version"), 0);
  EXPECT_EQ(testutil::ReadText(dir.file("stdout.txt")).rfind("TkrConverter (tkw) ", 0), 0u);

  const char* usageErrors[] = {"--bogus good.txt", "good.txt -p", "-n good.txt"};
  for (const char* arguments : usageErrors) {
    EXPECT_EQ(run(arguments), 2) << arguments;
    EXPECT_NE(testutil::ReadText(dir.file("stderr.txt")).find("Try 'TkrConverter --help'"), std::string::npos);
  }
  EXPECT_FALSE(testutil::FileExists(dir.file("good.tkr")));
  EXPECT_FALSE(testutil::FileExists(dir.file("Log.txt")));
}

// Without list files and without a saved queue there is nothing to do: a
// usage error, and no Log.txt appears.
TEST_F(TkrConverterProgram, NoListAndNoSavedQueueIsAUsageError) {
  EXPECT_EQ(run(""), 2);
  EXPECT_NE(testutil::ReadText(dir.file("stderr.txt")).find("no saved queue (TkrList.txt)"), std::string::npos);
  EXPECT_FALSE(testutil::FileExists(dir.file("Log.txt")));
  testutil::WriteText(dir.file("TkrList.txt"), "");
  EXPECT_EQ(run(""), 2);
  EXPECT_NE(testutil::ReadText(dir.file("stderr.txt")).find("is empty"), std::string::npos);
  EXPECT_FALSE(testutil::FileExists(dir.file("Log.txt")));
}

// Each failed list is named on standard error with the reason, on one line;
// --quiet leaves only those lines.
TEST_F(TkrConverterProgram, FailuresNameTheListAndTheReason) {
  testutil::WriteText(dir.file("big.txt"), "1 s.tkw\n99999999999 s.tkw\n");
  const struct {
    const char* list;
    const char* reason;
  } cases[] = {
      {"bad.txt", "bad.txt: 2行目に不正な記述があります(ファイルが存在しません) 処理を中断します。"},
      {"big.txt", "big.txt: 2行目に不正な記述があります(番号が32ビットの範囲を超えています) 処理を中断します。"},
      {"gone.txt", "gone.txt: gone.txt をロングファイル名に変換できませんでした"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.list);
    EXPECT_EQ(run(std::string("-q ") + c.list), 1);
    EXPECT_EQ(testutil::ReadText(dir.file("stdout.txt")), "");
    const std::string errors = testutil::ReadText(dir.file("stderr.txt"));
    EXPECT_EQ(errors.rfind(std::string("TkrConverter: ") + c.reason, 0), 0u) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
  }
  // A path too long for the archive builder is refused before anything starts.
  const std::string longName(600, 'x');
  EXPECT_EQ(run(longName + " good.txt"), 1);
  EXPECT_NE(testutil::ReadText(dir.file("stderr.txt")).find("bytes long; at most 499 fit"), std::string::npos);
  EXPECT_TRUE(testutil::FileExists(dir.file("good.tkr")));
}

} // namespace
