#include "support/LogWriter.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CollectingSink : LogSink {
  std::vector<std::string> lines;
  void AppendLogLine(const char* line) override { lines.emplace_back(line); }
};

TEST(LogWriter, WritesEachLineToTheFileAndTheSink) {
  testutil::TempDir dir;
  const std::string path = dir.file("Log.txt");
  CollectingSink sink;
  LogWriter& log = LogWriter::Instance();
  log.SetSink(&sink);
  ASSERT_TRUE(log.OpenFile(path.c_str()));
  WriteLog("%s を作成中", "out.tkw");
  WriteLog("経過時間 %d 秒でエンコードが終了しました。", 59);
  log.CloseFile();
  WriteLog("only the sink");
  log.SetSink(nullptr);

  EXPECT_EQ(sink.lines, (std::vector<std::string>{"out.tkw を作成中", "経過時間 59 秒でエンコードが終了しました。",
                                                  "only the sink"}));
#ifdef _WIN32
  const std::string newline = "\r\n";
#else
  const std::string newline = "\n";
#endif
  EXPECT_EQ(testutil::ReadText(path), std::string("out.tkw を作成中") + newline +
                                          "経過時間 59 秒でエンコードが終了しました。" + newline);
}

TEST(LogWriter, LongMessagesAreCutToTheBuffer) {
  CollectingSink sink;
  LogWriter::Instance().SetSink(&sink);
  const std::string path(2000, 'p');
  WriteLog("※%s", path.c_str());
  LogWriter::Instance().SetSink(nullptr);
  ASSERT_EQ(sink.lines.size(), 1u);
  EXPECT_EQ(sink.lines[0].size(), 499u);
}

TEST(LogWriter, OpeningTruncatesTheFile) {
  testutil::TempDir dir;
  const std::string path = dir.file("Log.txt");
  testutil::WriteText(path, "old content\n");
  LogWriter& log = LogWriter::Instance();
  ASSERT_TRUE(log.OpenFile(path.c_str()));
  log.CloseFile();
  EXPECT_EQ(testutil::ReadText(path), "");
}

} // namespace
