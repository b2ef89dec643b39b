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
  EXPECT_EQ(testutil::ReadText(path),
            std::string("out.tkw を作成中") + newline + "経過時間 59 秒でエンコードが終了しました。" + newline);
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

// A line cut to the buffer ends on a character boundary: the last character
// that does not fit is left out whole, wherever the cut falls in it.
TEST(LogWriter, ACutLineEndsBetweenCharacters) {
  const std::string wide = "あ"; // 3 bytes in UTF-8, 2 in CP932
  CollectingSink sink;
  LogWriter::Instance().SetSink(&sink);
  for (std::size_t ascii = 490; ascii <= 499; ++ascii) {
    std::string text(ascii, 'p');
    for (int i = 0; i < 10; ++i)
      text += wide;
    WriteLog("%s", text.c_str());
  }
  LogWriter::Instance().SetSink(nullptr);
  ASSERT_EQ(sink.lines.size(), 10u);
  for (std::size_t ascii = 490; ascii <= 499; ++ascii) {
    SCOPED_TRACE(ascii);
    std::string expected(ascii, 'p');
    while (expected.size() + wide.size() <= 499)
      expected += wide;
    EXPECT_EQ(sink.lines[ascii - 490], expected);
  }
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
