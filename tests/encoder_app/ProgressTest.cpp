#include "encoder_app/EncodeProgress.h"
#include "encoder_app/ProgressText.h"
#include "support/Exceptions.h"
#include "support/LogWriter.h"

#include <gtest/gtest.h>

TEST(ProgressText, BarPercent) {
  const struct {
    std::uint64_t total, done;
    int percent;
  } cases[] = {
      {0, 0, 0},
      {4, 0, 0},
      {4, 3, 75},
      {3, 1, 33},
      {4, 4, 100},
      // Products beyond 32 bits: a long stereo file.
      {2ull * 0xF0000000ull, 0xF0000000ull, 50},
      {0xFFFFFFFFFFFFFFFFull, 0xFFFFFFFFFFFFFFFEull, 99},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ProgressPercent(c.total, c.done), c.percent) << c.total << " " << c.done;
}

TEST(ProgressText, RemainingTime) {
  const struct {
    std::uint64_t total, done;
    std::uint32_t elapsedMs;
    const char* text;
  } cases[] = {
      {4, 1, 30000, "--秒"},                             // less than half done
      {4, 0, 0, "--秒"},          {4, 2, 20000, "20秒"}, // exactly half
      {4, 3, 30000, "10秒"},                             // 30 s / 3 x 1
      {1000, 600, 75000, "50秒"}, {100, 50, 125000, "2分5秒"}, {100, 50, 60000, "1分0秒"},
      {100, 50, 59999, "59秒"},   {8, 8, 1000, "0秒"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RemainingTimeText(c.total, c.done, c.elapsedMs), c.text);
}

TEST(ProgressText, EndOfFileLines) {
  EXPECT_EQ(ElapsedLine(59), "経過時間 59 秒でエンコードが終了しました。");
  EXPECT_EQ(ElapsedLine(60), "経過時間 1 分 0 秒でエンコードが終了しました。");
  EXPECT_EQ(ElapsedLine(0), "経過時間 0 秒でエンコードが終了しました。");
  EXPECT_EQ(ElapsedLine(3725), "経過時間 62 分 5 秒でエンコードが終了しました。");
  EXPECT_EQ(RatioLine(1000, 250), "1000 → 250 （圧縮率 25.0％）");
  EXPECT_EQ(RatioLine(3, 1), "3 → 1 （圧縮率 33.3％）");
  EXPECT_EQ(RatioLine(0, 28), "0 → 28 （圧縮率 0.0％）");
  EXPECT_EQ(CreatingLine("/o/a.tkw"), "/o/a.tkw を作成中");
}

namespace {

struct FakeView : ProgressView {
  void ShowFiles(const char* wave, const char* out) override { files = std::string(wave) + "|" + out; }
  void ShowProgress(int p, const std::string& t) override {
    percents.push_back(p);
    texts.push_back(t);
  }
  std::string files;
  std::vector<int> percents;
  std::vector<std::string> texts;
};

struct LogLines : LogSink {
  void AppendLogLine(const char* line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

} // namespace

// Updates at most once a second, the estimate from the file's own start, the
// end-of-file lines, and the stop request as User_Cannceled.
TEST(EncodeProgress, ThrottleEstimateEndAndStop) {
  FakeView view;
  StopSignal stop;
  std::uint32_t now = 0xFFFFF000u; // across the tick count's wrap
  LogLines log;
  LogWriter::Instance().SetSink(&log);
  EncodeProgress progress(view, stop, [&] { return now; });

  progress.OnFileStart("in.wav", "out.tkw");
  EXPECT_EQ(view.files, "in.wav|out.tkw");
  EXPECT_EQ(view.percents, std::vector<int>{0});
  now += 500;
  progress.OnProgress(4, 1); // too soon
  EXPECT_EQ(view.percents.size(), 1u);
  now += 500;
  progress.OnProgress(4, 1);
  now += 29000;
  progress.OnProgress(4, 3);
  EXPECT_EQ(view.percents, (std::vector<int>{0, 25, 75}));
  EXPECT_EQ(view.texts, (std::vector<std::string>{"--秒", "--秒", "10秒"}));

  now += 30000; // 60 s for the file
  progress.OnFileEnd(1000, 250);
  LogWriter::Instance().SetSink(nullptr);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"out.tkw を作成中", "経過時間 1 分 0 秒でエンコードが終了しました。",
                                                 "1000 → 250 （圧縮率 25.0％）", " "}));
  EXPECT_EQ(view.percents.back(), 100);
  EXPECT_EQ(view.texts.back(), "0秒");

  // The next file starts without the last one's "0秒".
  progress.OnFileStart("in2.wav", "out2.tkw");
  EXPECT_EQ(view.percents.back(), 0);
  EXPECT_EQ(view.texts.back(), "--秒");

  stop.Request();
  EXPECT_THROW(progress.OnProgress(4, 1), User_Cannceled);
}
