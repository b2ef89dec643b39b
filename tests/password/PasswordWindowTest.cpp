#include "format/TkrHeader.h"
#include "password/OldPasswordDialog.h"
#include "password/PasswordMainWindow.h"
#include "password/resources/resource.h"
#include "testutil/TempDir.h"
#include "windows/FakeDialogView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testutil::FakeDialogView;

constexpr const char* kCaption = "パスワード設定ユーリティー";

// A 64-byte archive whose check word holds `password`.
std::vector<std::uint8_t> ArchiveBytes(const std::string& password) {
  std::vector<std::uint8_t> bytes(64, 0x5A);
  TkrHeader header;
  header.totalLength = 64;
  header.checkWord = TkrHeader::CheckWord(64, password);
  header.count = 1;
  header.Store(bytes.data());
  return bytes;
}

std::uint32_t CheckWordOf(const std::string& path) {
  return TkrHeader::Load(testutil::ReadBytes(path).data()).checkWord;
}

class PasswordWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    // As in the resource script: the read-only file name comes first.
    view.firstTabStops = {{IDD_PASSWORD_MAIN, IDC_NEW_PASSWORD}, {IDD_OLD_PASSWORD, IDC_ARCHIVE_INFO}};
    view.templateId = IDD_PASSWORD_MAIN;
    view.Open();
  }

  std::string MakeArchive(const std::string& name, const std::string& password) {
    testutil::WriteBytes(dir.file(name), ArchiveBytes(password));
    return dir.file(name);
  }

  // Answers the old-password questions with `answers` in turn; "" cancels.
  void Answer(std::vector<std::string> answers) {
    view.modalScript = [this, answers = std::move(answers)](int templateId, DialogController&,
                                                            FakeDialogView& dialog) mutable {
      EXPECT_EQ(templateId, IDD_OLD_PASSWORD);
      asked.push_back(dialog.Text(IDC_ARCHIVE_INFO));
      masked.push_back(dialog.control(IDC_OLD_PASSWORD).masked);
      EXPECT_EQ(dialog.focus(), IDC_OLD_PASSWORD);
      while (!dialog.ended()) {
        if (answers.empty() || answers.front().empty()) {
          dialog.Click(2);
          break;
        }
        dialog.Type(IDC_OLD_PASSWORD, answers.front());
        answers.erase(answers.begin());
        dialog.Click(1);
        if (!dialog.ended()) wrongShown += static_cast<int>(dialog.messages().size());
        dialog.clearMessages();
      }
      return dialog.result();
    };
  }

  testutil::TempDir dir;
  PasswordMainWindow window;
  FakeDialogView view{window};
  std::vector<std::string> asked;
  std::vector<bool> masked;
  int wrongShown = 0;
};

TEST_F(PasswordWindowTest, AnEmptyNewPasswordIsRefusedAndNothingIsTouched) {
  const std::string archive = MakeArchive("a.tkr", "");
  const auto before = testutil::ReadBytes(archive);
  view.Drop(0, {archive});
  const auto shown = view.messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "パスワードが設定されてないとまずいっしょ（笑）");
  EXPECT_EQ(shown[0].caption, kCaption);
  EXPECT_EQ(testutil::ReadBytes(archive), before);
  EXPECT_EQ(view.Text(IDC_PASSWORD_LOG), "");
}

TEST_F(PasswordWindowTest, AnOpenArchiveGetsThePasswordWithoutAQuestion) {
  const std::string archive = MakeArchive("a.tkr", "");
  auto expected = testutil::ReadBytes(archive);
  view.Type(IDC_NEW_PASSWORD, "new");
  Answer({});
  view.Drop(0, {archive});
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(view.Text(IDC_PASSWORD_LOG), archive + " を処理します\r\nパスワードは正常にセットされました\r\n");
  // Only the check word (bytes 8 to 11) changes.
  auto after = testutil::ReadBytes(archive);
  ASSERT_EQ(after.size(), expected.size());
  StoreLe32(&expected[8], TkrHeader::CheckWord(64, "new"));
  EXPECT_EQ(after, expected);
}

TEST_F(PasswordWindowTest, TheOldPasswordIsAskedUntilRight) {
  const std::string archive = MakeArchive("a.tkr", "old");
  view.Type(IDC_NEW_PASSWORD, "new");
  view.Toggle(IDC_HIDE_NEW_PASSWORD);
  EXPECT_TRUE(view.control(IDC_NEW_PASSWORD).masked);
  EXPECT_EQ(view.focus(), IDC_NEW_PASSWORD);
  Answer({"wrong", "old"});
  view.Drop(0, {archive});
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "ファイル名:  " + archive);
  EXPECT_EQ(masked, std::vector<bool>{true});
  EXPECT_EQ(wrongShown, 1);
  EXPECT_EQ(CheckWordOf(archive), TkrHeader::CheckWord(64, "new"));

  // The same password again is asked for as the old one.
  Answer({"new"});
  view.Drop(0, {archive});
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(CheckWordOf(archive), TkrHeader::CheckWord(64, "new"));
}

TEST_F(PasswordWindowTest, ACancelEndsTheRestOfTheDrop) {
  const std::string locked = MakeArchive("a.tkr", "old");
  const std::string open = MakeArchive("b.tkr", "");
  const std::string missing = dir.file("none.tkr");
  auto shortBytes = ArchiveBytes("");
  shortBytes.pop_back(); // 63 bytes that start like an archive
  testutil::WriteBytes(dir.file("short.tkr"), shortBytes);
  view.Type(IDC_NEW_PASSWORD, "new");
  Answer({""});
  view.Drop(0, {missing, dir.file("short.tkr"), locked, open});
  EXPECT_EQ(view.Text(IDC_PASSWORD_LOG), missing + " を処理します\r\nそのファイルは存在しません\r\n" +
                                             dir.file("short.tkr") +
                                             " を処理します\r\nそのファイルはTkrファイルではありません\r\n" + locked +
                                             " を処理します\r\nパスワードの変更を中断しました\r\n");
  EXPECT_EQ(CheckWordOf(locked), TkrHeader::CheckWord(64, "old"));
  EXPECT_EQ(CheckWordOf(open), TkrHeader::CheckWord(64, ""));
}

// The dialog opens with the focus on the password field, not on the first tab
// stop (the read-only file name), so that what the user types is not lost.
TEST(OldPasswordDialogTest, OpensWithTheFocusOnThePasswordField) {
  OldPasswordDialog dialog("x.tkr", true, [](std::string_view) { return false; });
  FakeDialogView view(dialog);
  view.firstTabStops = {{IDD_OLD_PASSWORD, IDC_ARCHIVE_INFO}};
  view.templateId = IDD_OLD_PASSWORD;
  view.Open();
  EXPECT_EQ(view.focus(), IDC_OLD_PASSWORD);
  EXPECT_TRUE(view.control(IDC_OLD_PASSWORD).masked);
  EXPECT_EQ(view.Text(IDC_ARCHIVE_INFO), "ファイル名:  x.tkr");
}

TEST(OldPasswordDialogTest, EscapeOrCloseGivesUpAndActivationFocusesTheField) {
  OldPasswordDialog dialog("x.tkr", false, [](std::string_view typed) { return typed == "a"; });
  FakeDialogView view(dialog);
  view.Open();
  EXPECT_FALSE(view.control(IDC_OLD_PASSWORD).masked);
  view.SetFocus(0);
  view.Activate(true, false);
  EXPECT_EQ(view.focus(), IDC_OLD_PASSWORD);
  view.Close();
  EXPECT_TRUE(view.ended());
  EXPECT_EQ(view.result(), 0);
}

} // namespace
