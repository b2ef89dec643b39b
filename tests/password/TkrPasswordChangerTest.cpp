#include "password/TkrPasswordChanger.h"
#include "format/TkrHeader.h"
#include "platform/Files.h"
#include "testutil/MessageBoxCapture.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

// A header with the given password and 60 more bytes that must never change.
Bytes archiveBytes(const std::string& password, std::size_t size = 76) {
  Bytes bytes(size);
  for (std::size_t i = 16; i < size; ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 7);
  TkrHeader header;
  header.totalLength = static_cast<std::uint32_t>(size);
  header.checkWord = TkrHeader::CheckWord(header.totalLength, password);
  header.count = 3;
  header.Store(bytes.data());
  return bytes;
}

std::uint32_t checkWordOf(const Bytes& bytes) { return TkrHeader::Load(bytes.data()).checkWord; }

class TkrPasswordChangerTest : public ::testing::Test {
protected:
  // Answers the prompt with the given passwords in turn; an exhausted list cancels.
  TkrPasswordChanger changer(const std::string& newPassword, std::vector<std::string> answers = {}) {
    answers_ = std::move(answers);
    prompts.clear();
    log.clear();
    return TkrPasswordChanger(
        newPassword,
        [this](const std::string& path, const std::function<bool(std::string_view)>& isRight) {
          prompts.push_back(path);
          while (!answers_.empty()) {
            const std::string answer = answers_.front();
            answers_.erase(answers_.begin());
            if (isRight(answer)) return true;
            TkrPasswordChanger::ShowWrongPassword();
          }
          return false;
        },
        [this](const char* line) { log.emplace_back(line); });
  }

  std::string put(const std::string& name, const Bytes& bytes) {
    testutil::WriteBytes(dir.file(name), bytes);
    return dir.file(name);
  }

  testutil::TempDir dir;
  std::vector<std::string> prompts;
  std::vector<std::string> log;

private:
  std::vector<std::string> answers_;
};

TEST_F(TkrPasswordChangerTest, OnlyTheCheckWordChangesAndTheSecondRunAsksForTheFirstPassword) {
  const Bytes original = archiveBytes("");
  const std::string path = put("a.tkr", original);

  ASSERT_TRUE(changer("first").ProcessAll({path}));
  EXPECT_TRUE(prompts.empty()); // no password yet: nothing to ask
  EXPECT_EQ(log, (std::vector<std::string>{path + " を処理します", "パスワードは正常にセットされました"}));
  Bytes changed = testutil::ReadBytes(path);
  EXPECT_EQ(checkWordOf(changed), TkrHeader::CheckWord(76, "first"));
  for (std::size_t i = 8; i < 12; ++i)
    changed[i] = original[i];
  EXPECT_EQ(changed, original);

  testutil::MessageBoxCapture boxes;
  ASSERT_TRUE(changer("second", {"wrong", "first"}).ProcessAll({path}));
  EXPECT_EQ(prompts, std::vector<std::string>{path});
  ASSERT_EQ(boxes.messages().size(), 1u);
  EXPECT_EQ(boxes.messages()[0].text, "パスワードが違います");
  EXPECT_EQ(boxes.messages()[0].caption, "パスワード設定ユーリティー");
  EXPECT_EQ(checkWordOf(testutil::ReadBytes(path)), TkrHeader::CheckWord(76, "second"));

  // Setting the same password again still asks for it.
  ASSERT_TRUE(changer("second", {"second"}).ProcessAll({path}));
  EXPECT_EQ(prompts.size(), 1u);
}

TEST_F(TkrPasswordChangerTest, ACancelledPromptStopsTheRemainingArchives) {
  const std::string a = put("a.tkr", archiveBytes("old"));
  const std::string b = put("b.tkr", archiveBytes(""));
  testutil::MessageBoxCapture boxes;
  EXPECT_FALSE(changer("new", {"bad"}).ProcessAll({a, b}));
  EXPECT_EQ(log, (std::vector<std::string>{a + " を処理します", "パスワードの変更を中断しました"}));
  EXPECT_EQ(testutil::ReadBytes(a), archiveBytes("old"));
  EXPECT_EQ(testutil::ReadBytes(b), archiveBytes(""));
}

TEST_F(TkrPasswordChangerTest, FilesThatAreNotArchivesAreLeftAloneAndTheNextOneFollows) {
  Bytes small = archiveBytes("", 63);
  Bytes otherMagic = archiveBytes("");
  otherMagic[3] = '$';
  Bytes tooLong = archiveBytes("");
  tooLong[4] = 77; // total length one byte beyond the file
  struct Case {
    const char* title;
    std::string path;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"missing", dir.file("none.tkr"), "そのファイルは存在しません"},
      {"63 bytes", put("small.tkr", small), "そのファイルはTkrファイルではありません"},
      {"another magic", put("magic.tkr", otherMagic), "そのファイルはTkrファイルではありません"},
      {"length beyond the file", put("long.tkr", tooLong), "そのファイルはTkrファイルではありません"},
      {"a folder", dir.path(), "そのファイルは存在しません"},
  };
  const std::string good = put("good.tkr", archiveBytes(""));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    const bool folder = plat::isDirectory(c.path.c_str());
    const Bytes before = folder ? Bytes() : testutil::ReadBytes(c.path);
    EXPECT_FALSE(changer("new").ProcessAll({c.path, good}));
    EXPECT_EQ(log, (std::vector<std::string>{c.path + " を処理します", c.message, good + " を処理します",
                                             "パスワードは正常にセットされました"}));
    if (!folder) {
      EXPECT_EQ(testutil::ReadBytes(c.path), before);
    }
    put("good.tkr", archiveBytes(""));
  }
}

TEST_F(TkrPasswordChangerTest, AnEmptyNewPasswordIsRefusedBeforeAnyArchive) {
  const std::string path = put("a.tkr", archiveBytes(""));
  testutil::MessageBoxCapture boxes;
  EXPECT_FALSE(changer("").ProcessAll({path}));
  ASSERT_EQ(boxes.messages().size(), 1u);
  EXPECT_EQ(boxes.messages()[0].text, "パスワードが設定されてないとまずいっしょ（笑）");
  EXPECT_EQ(boxes.messages()[0].caption, "パスワード設定ユーリティー");
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(testutil::ReadBytes(path), archiveBytes(""));
}

// A cut password would not be the one the user typed: it is refused.
TEST_F(TkrPasswordChangerTest, ANewPasswordOver254CharactersIsRefusedNotCut) {
  const std::string path = put("a.tkr", archiveBytes(""));
  testutil::MessageBoxCapture boxes;
  EXPECT_FALSE(changer(std::string(255, 'k')).ProcessAll({path}));
  ASSERT_EQ(boxes.messages().size(), 1u);
  EXPECT_EQ(boxes.messages()[0].text, "パスワードが長すぎます（半角254文字まで）");
  EXPECT_EQ(boxes.messages()[0].caption, "パスワード設定ユーリティー");
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(testutil::ReadBytes(path), archiveBytes(""));

  ASSERT_TRUE(changer(std::string(254, 'k')).ProcessAll({path}));
  EXPECT_EQ(checkWordOf(testutil::ReadBytes(path)), TkrHeader::CheckWord(76, std::string(254, 'k')));
}

#ifndef _WIN32 // Windows refuses such paths itself
// Paths of 500 bytes and more do not fit the program's buffers: the archive
// is refused with a line of its own and the ones after it are processed.
TEST_F(TkrPasswordChangerTest, ArchivePathsTooLongForThePathBufferAreRefusedAndTheNextOneFollows) {
  const std::string good = put("good.tkr", archiveBytes(""));
  std::string folder = dir.path();
  while (folder.size() < 520) {
    folder += plat::kPathSeparator + std::string(100, 'd');
    ASSERT_TRUE(plat::makeDirectory(folder.c_str()));
  }
  for (const std::size_t length : {500u, 520u, 600u}) {
    SCOPED_TRACE(length);
    const std::string name = std::string(1, plat::kPathSeparator) + "a.tkr";
    // The deepest folder that fits, then separators, which name the same folder.
    std::string base = folder;
    while (base.size() > length - name.size())
      base.resize(base.rfind(plat::kPathSeparator));
    std::string deep = base + std::string(length - name.size() - base.size(), plat::kPathSeparator) + name;
    ASSERT_EQ(deep.size(), length);
    testutil::WriteBytes(deep, archiveBytes(""));
    EXPECT_FALSE(changer("new").ProcessAll({deep, good}));
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[1], "そのファイルはパスが長すぎるため処理できません");
    EXPECT_EQ(log[3], "パスワードは正常にセットされました");
    EXPECT_EQ(testutil::ReadBytes(deep), archiveBytes(""));
    put("good.tkr", archiveBytes(""));
  }
}

// A pipe is no archive; it is refused without waiting for a writer.
TEST_F(TkrPasswordChangerTest, APipeIsNoArchive) {
  const std::string pipe = dir.file("pipe.tkr");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(changer("new").ProcessAll({pipe}));
  EXPECT_EQ(log, (std::vector<std::string>{pipe + " を処理します", "そのファイルはTkrファイルではありません"}));
}
#endif

} // namespace
