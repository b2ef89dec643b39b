#include "converter/TkrConvertQueue.h"
#include "LogCapture.h"
#include "TkwFileBytes.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Recorder : TkrQueueObserver {
  std::vector<std::string> started;
  std::vector<TkrListConverter::Result> results;
  bool done = false;
  TkrConvertQueue* stopAfterFirst = nullptr;

  void OnListStarted(const std::string& path) override { started.push_back(path); }
  void OnListFinished(const std::string&, TkrListConverter::Result result) override {
    results.push_back(result);
    if (stopAfterFirst) stopAfterFirst->RequestStop();
  }
  void OnQueueDone() override { done = true; }
};

class TkrConvertQueueTest : public ::testing::Test {
protected:
  void SetUp() override {
    testutil::WriteBytes(dir.file("s.tkw"), testutil::MakeTkwBytes({}));
    for (const char* name : {"b.txt", "A.txt", "c.txt"})
      testutil::WriteText(dir.file(name), "1 s.tkw\n");
    testutil::WriteText(dir.file("bad.txt"), "1 gone.tkw\n");
  }

  testutil::TempDir dir;
  testutil::LogCapture log;
};

TEST_F(TkrConvertQueueTest, ConvertsInSortedOrderAndLogsEachList) {
  Recorder recorder;
  TkrConvertQueue queue({dir.file("c.txt"), dir.file("bad.txt"), dir.file("b.txt"), dir.file("A.txt")}, "", &recorder);
  queue.Run();
  EXPECT_EQ(recorder.started,
            (std::vector<std::string>{dir.file("A.txt"), dir.file("b.txt"), dir.file("bad.txt"), dir.file("c.txt")}));
  EXPECT_TRUE(recorder.done);
  EXPECT_TRUE(queue.Done());
  EXPECT_EQ(queue.Failures(), 1);
  for (const char* archive : {"A.tkr", "b.tkr", "c.tkr"})
    EXPECT_TRUE(testutil::FileExists(dir.file(archive)));
  EXPECT_FALSE(testutil::FileExists(dir.file("bad.tkr")));

  const auto lines = log.lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), dir.file("A.txt") + " の処理中 :");
  EXPECT_EQ(lines.back(), "キューをすべて消化しました");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), dir.file("bad.txt") + " の処理中 :"), 1);
}

TEST_F(TkrConvertQueueTest, AnEmptyQueueIsDoneAtOnce) {
  Recorder recorder;
  TkrConvertQueue queue({}, "", &recorder);
  queue.Start();
  queue.Wait();
  EXPECT_TRUE(recorder.done);
  EXPECT_EQ(log.lines(), std::vector<std::string>{"キューをすべて消化しました"});
}

TEST_F(TkrConvertQueueTest, AStopTakesEffectBetweenListFiles) {
  Recorder recorder;
  TkrConvertQueue queue({dir.file("b.txt"), dir.file("c.txt")}, "", &recorder);
  recorder.stopAfterFirst = &queue;
  queue.Start();
  queue.Wait();
  EXPECT_EQ(recorder.started, std::vector<std::string>{dir.file("b.txt")});
  EXPECT_TRUE(testutil::FileExists(dir.file("b.tkr")));
  EXPECT_FALSE(testutil::FileExists(dir.file("c.tkr")));
  EXPECT_TRUE(queue.WasStopped());
  EXPECT_FALSE(queue.Done());
  EXPECT_FALSE(recorder.done);
  EXPECT_EQ(log.lines().back(), "変換を中止しました");
}

} // namespace
