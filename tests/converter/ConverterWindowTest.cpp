#include "TkwFileBytes.h"
#include "converter/ConverterMainWindow.h"
#include "converter/resources/resource.h"
#include "format/TkrHeader.h"
#include "platform/Files.h"
#include "platform/Profile.h"
#include "testutil/TempDir.h"
#include "windows/FakeDialogView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testutil::FakeDialogView;

// A text file as lines ending in LF: Windows writes text files with CR LF.
std::string ReadLines(const std::string& path) {
  std::string text = testutil::ReadText(path);
  std::erase(text, '\r');
  return text;
}

class ConverterWindowTest : public ::testing::Test {
protected:
  void SetUp() override { testutil::WriteBytes(dir.file("s.tkw"), testutil::MakeTkwBytes({})); }

  std::string Ini() const { return dir.file("TkrConverter.ini"); }
  std::string Queue() const { return dir.file("TkrList.txt"); }

  // A list file naming `sounds` copies of the test sound under 1, 2, ...
  std::string MakeList(const std::string& name, int sounds = 1) {
    std::string text;
    for (int i = 1; i <= sounds; ++i)
      text += std::to_string(i) + " s.tkw\n";
    testutil::WriteText(dir.file(name), text);
    return dir.file(name);
  }

  testutil::TempDir dir;
  testutil::ScopedCurrentDirectory inDir{dir.path()};
};

TEST_F(ConverterWindowTest, StartUpShowsTheSavedStateAndExitWritesItBack) {
  // "ab" in the letter encoding; the box off and the hide box on.
  plat::writeProfileString("Password", "bSetPass", "0", Ini().c_str());
  plat::writeProfileString("Password", "bHidePass", "1", Ini().c_str());
  plat::writeProfileString("Password", "strPass", "GBGC", Ini().c_str());
  plat::writeProfileString("TkrList", "ListDirectory", dir.path().c_str(), Ini().c_str());
  testutil::WriteText(Queue(), dir.file("b.txt") + "\n" + dir.file("A.txt") + "\n" + dir.file("c.txt") + "\n");

  ConverterMainWindow window(Ini(), Queue());
  FakeDialogView view(window);
  view.Open();
  EXPECT_EQ(view.items(IDC_LIST_FILES),
            (std::vector<std::string>{dir.file("A.txt"), dir.file("b.txt"), dir.file("c.txt")}));
  EXPECT_EQ(view.Text(IDC_PASSWORD), "ab");
  EXPECT_FALSE(view.IsChecked(IDC_SET_PASSWORD));
  EXPECT_FALSE(view.IsEnabled(IDC_PASSWORD));
  EXPECT_FALSE(view.IsEnabled(IDC_HIDE_PASSWORD));
  EXPECT_TRUE(view.IsChecked(IDC_HIDE_PASSWORD));
  EXPECT_TRUE(view.control(IDC_PASSWORD).masked);
  EXPECT_EQ(view.dropTargets, std::vector<int>{0});

  std::vector<std::string> opened;
  window.openFolder = [&](const char* folder) {
    opened.emplace_back(folder);
    return true;
  };
  view.Click(IDC_BROWSE);
  EXPECT_EQ(opened, std::vector<std::string>{dir.path()});

  view.Toggle(IDC_SET_PASSWORD);
  EXPECT_TRUE(view.IsEnabled(IDC_PASSWORD));
  EXPECT_TRUE(view.IsEnabled(IDC_HIDE_PASSWORD));
  view.Toggle(IDC_HIDE_PASSWORD);
  EXPECT_FALSE(view.control(IDC_PASSWORD).masked);
  EXPECT_EQ(view.focus(), IDC_PASSWORD);
  view.Type(IDC_PASSWORD, std::string("x\xFF") + "y");
  view.Select(IDC_LIST_FILES, {1});
  view.Click(IDC_DELETE);
  view.Click(1);
  EXPECT_TRUE(view.ended());

  EXPECT_EQ(ReadLines(Queue()), dir.file("A.txt") + "\n" + dir.file("c.txt") + "\n");
  EXPECT_EQ(plat::profileInt("Password", "bSetPass", -1, Ini().c_str()), 1);
  EXPECT_EQ(plat::profileInt("Password", "bHidePass", -1, Ini().c_str()), 0);
  // Two letters per byte, high four bits first: x = 0x78, 0xFF, y = 0x79.
  EXPECT_EQ(plat::profileString("Password", "strPass", "", Ini().c_str()), "HIPPHJ");
  EXPECT_EQ(plat::profileString("TkrList", "ListDirectory", "", Ini().c_str()), dir.path());
}

TEST_F(ConverterWindowTest, DropsJoinTheSortedQueueAndDeletionKeepsTheRightEntries) {
  ConverterMainWindow window(Ini(), Queue());
  FakeDialogView view(window);
  view.Open();
  EXPECT_TRUE(view.items(IDC_LIST_FILES).empty());

  const std::string other = dir.file("zz");
  ASSERT_TRUE(plat::makeDirectory(other.c_str()));
  const std::string lists[] = {MakeList("d.txt"), MakeList("B.txt"), other + plat::kPathSeparator + "c.txt"};
  testutil::WriteText(lists[2], "1 x\n");
  view.Drop(0, {lists[0], lists[1], lists[2], std::string(600, 'a')}); // a name too long is left out
  EXPECT_EQ(view.items(IDC_LIST_FILES), (std::vector<std::string>{lists[1], lists[0], lists[2]}));

  view.Select(IDC_LIST_FILES, {0, 2});
  view.Click(IDC_DELETE);
  EXPECT_EQ(view.items(IDC_LIST_FILES), std::vector<std::string>{lists[0]});
  EXPECT_EQ(window.Lists(), std::vector<std::string>{lists[0]});

  view.Click(IDC_DELETE_ALL);
  EXPECT_TRUE(view.items(IDC_LIST_FILES).empty());
  view.Close();
  // The list directory is that of the last file taken.
  EXPECT_EQ(plat::profileString("TkrList", "ListDirectory", "", Ini().c_str()), other);
  EXPECT_EQ(ReadLines(Queue()), "");
}

// Opens the queue dialog on the window's queue and hands it to `script`.
void RunQueue(FakeDialogView& main, const std::function<void(FakeDialogView& queue)>& script) {
  bool ran = false;
  main.modalScript = [&](int templateId, DialogController&, FakeDialogView& queue) {
    EXPECT_EQ(templateId, IDD_CONVERTER_QUEUE);
    script(queue);
    ran = true;
    return 0;
  };
  main.Click(IDC_START);
  EXPECT_TRUE(ran);
}

TEST_F(ConverterWindowTest, TheQueueConvertsInSortedOrderWithThePassword) {
  const std::string b = MakeList("b.txt"), a = MakeList("A.txt");
  testutil::WriteText(dir.file("bad.txt"), "1 missing.tkw\n");
  testutil::WriteText(Queue(), b + "\n" + dir.file("bad.txt") + "\n" + a + "\n");
  ConverterMainWindow window(Ini(), Queue());
  FakeDialogView view(window);
  view.Open();
  view.SetChecked(IDC_SET_PASSWORD, true);
  view.Type(IDC_PASSWORD, "pw");

  RunQueue(view, [&](FakeDialogView& queue) {
    EXPECT_EQ(queue.items(IDC_QUEUE), (std::vector<std::string>{a, b, dir.file("bad.txt")}));
    ASSERT_TRUE(queue.PumpUntil([&] { return queue.Text(IDC_ABORT) == "終了"; }));
    EXPECT_TRUE(queue.items(IDC_QUEUE).empty());
    const std::string log = queue.Text(IDC_QUEUE_LOG);
    const auto first = log.find(a + " の処理中 :\r\n");
    const auto second = log.find(b + " の処理中 :\r\n");
    const auto third = log.find(dir.file("bad.txt") + " の処理中 :\r\n");
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_NE(third, std::string::npos);
    // A message of two lines shows as two lines in the window.
    EXPECT_NE(log.find("1行目に不正な記述があります(ファイルが存在しません)\r\n処理を中断します。\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("キューをすべて消化しました\r\n"), std::string::npos);
    queue.Click(IDC_ABORT);
    EXPECT_TRUE(queue.ended());
    EXPECT_TRUE(queue.messages().empty());
  });

  for (const char* name : {"A.tkr", "b.tkr"}) {
    const auto bytes = testutil::ReadBytes(dir.file(name));
    ASSERT_GE(bytes.size(), TkrHeader::kSize) << name;
    const TkrHeader header = TkrHeader::Load(bytes.data());
    EXPECT_TRUE(header.Accepts("pw")) << name;
    EXPECT_EQ(header.totalLength, bytes.size());
  }
  EXPECT_FALSE(testutil::FileExists(dir.file("bad.tkr")));
  // The same lines went to Log.txt, each ending in a line feed.
  const std::string logFile = ReadLines(dir.file("Log.txt"));
  EXPECT_NE(logFile.find(a + " の処理中 :\n"), std::string::npos);
  EXPECT_NE(logFile.find("キューをすべて消化しました\n"), std::string::npos);
}

TEST_F(ConverterWindowTest, WithThePasswordBoxOffArchivesGetNoPassword) {
  const std::string a = MakeList("a.txt");
  testutil::WriteText(Queue(), a + "\n");
  ConverterMainWindow window(Ini(), Queue());
  FakeDialogView view(window);
  view.Open();
  view.SetChecked(IDC_SET_PASSWORD, false);
  view.Type(IDC_PASSWORD, "left over");
  RunQueue(view, [&](FakeDialogView& queue) {
    ASSERT_TRUE(queue.PumpUntil([&] { return queue.Text(IDC_ABORT) == "終了"; }));
    queue.Close();
  });
  const auto bytes = testutil::ReadBytes(dir.file("a.tkr"));
  ASSERT_GE(bytes.size(), TkrHeader::kSize);
  EXPECT_FALSE(TkrHeader::Load(bytes.data()).HasPassword());
}

TEST_F(ConverterWindowTest, AnEmptyQueueFinishesAtOnce) {
  ConverterMainWindow window(Ini(), Queue());
  FakeDialogView view(window);
  view.Open();
  RunQueue(view, [&](FakeDialogView& queue) {
    ASSERT_TRUE(queue.PumpUntil([&] { return queue.Text(IDC_ABORT) == "終了"; }));
    EXPECT_EQ(queue.Text(IDC_QUEUE_LOG), "キューをすべて消化しました\r\n");
    queue.Click(IDC_ABORT);
    EXPECT_TRUE(queue.messages().empty());
  });
}

TEST_F(ConverterWindowTest, StoppingEarlyLeavesOnlyWholeArchivesAndSaysSo) {
  std::string queueText;
  for (int i = 0; i < 40; ++i)
    queueText += MakeList("list" + std::to_string(100 + i) + ".txt", 20) + "\n";
  testutil::WriteText(Queue(), queueText);
  ConverterMainWindow window(Ini(), Queue());
  FakeDialogView view(window);
  view.Open();
  RunQueue(view, [&](FakeDialogView& queue) {
    queue.Click(IDC_ABORT); // at once, while the worker is busy
    EXPECT_TRUE(queue.ended());
    const auto shown = queue.messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "警告");
    EXPECT_NE(shown[0].text.find("変換を中止しました"), std::string::npos);
    EXPECT_EQ(shown[0].text.find("TerminateThread"), std::string::npos);
  });

  int written = 0;
  for (int i = 0; i < 40; ++i) {
    const std::string archive = dir.file("list" + std::to_string(100 + i) + ".tkr");
    if (!testutil::FileExists(archive)) continue;
    ++written;
    const auto bytes = testutil::ReadBytes(archive);
    ASSERT_GE(bytes.size(), TkrHeader::kSize);
    EXPECT_EQ(TkrHeader::Load(bytes.data()).totalLength, bytes.size()) << archive;
  }
  EXPECT_LT(written, 40);

  // The program goes on working: a second run converts the rest.
  RunQueue(view, [&](FakeDialogView& queue) {
    ASSERT_TRUE(queue.PumpUntil([&] { return queue.Text(IDC_ABORT) == "終了"; }, std::chrono::seconds(60)));
    queue.Click(IDC_ABORT);
  });
  for (int i = 0; i < 40; ++i)
    EXPECT_TRUE(testutil::FileExists(dir.file("list" + std::to_string(100 + i) + ".tkr")));
}

} // namespace
