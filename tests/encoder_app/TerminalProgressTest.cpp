// The progress line on a real (pseudo-)terminal: one redraw per update, never
// wider than the terminal, double-width characters counted as two columns.
#if !defined(_WIN32)
#include "encoder_app/TerminalProgress.h"
#include "cli/Reporter.h"
#include "cli/TextWidth.h"
#include "testutil/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The pieces of the screen between carriage returns and line feeds, without
// the erase-to-end sequence: what each redraw leaves on its line.
std::vector<std::string> Redraws(const std::string& screen) {
  std::vector<std::string> pieces;
  std::string piece;
  for (std::size_t i = 0; i < screen.size(); ++i) {
    if (screen.compare(i, 3, "\033[K") == 0) {
      i += 2;
    } else if (screen[i] == '\r' || screen[i] == '\n') {
      if (!piece.empty()) pieces.push_back(piece);
      piece.clear();
    } else {
      piece += screen[i];
    }
  }
  if (!piece.empty()) pieces.push_back(piece);
  return pieces;
}

const std::string kJapaneseName = "/音声/とても長い名前のフォルダ/さらに長い名前のサブフォルダ/第一章_冒頭の語り.wav";

} // namespace

TEST(TerminalProgress, EachUpdateIsOneLineThatFitsTheTerminal) {
  for (int columns : {80, 40, 24}) {
    SCOPED_TRACE(columns);
    testutil::PseudoTerminal terminal(columns);
    ASSERT_TRUE(terminal.ok());
    cli::Reporter reporter("tkwEncoder");
    reporter.SetInfoStream(terminal.stream());
    TerminalProgress view(terminal.stream(), reporter);
    view.ShowFiles(kJapaneseName.c_str(), "/out/x.tkw");
    view.ShowProgress(0, "--秒");
    view.ShowProgress(57, "12分34秒");
    view.ShowProgress(100, "0秒");
    const std::vector<std::string> redraws = Redraws(terminal.screen());
    ASSERT_EQ(redraws.size(), 3u) << terminal.screen(); // one draw per update
    for (const std::string& line : redraws)
      EXPECT_LT(cli::DisplayWidth(line), static_cast<std::size_t>(columns)) << line;
    EXPECT_EQ(redraws[1].rfind(" 57%", 0), 0u) << redraws[1];
    EXPECT_NE(redraws[1].find("残り 12分34秒"), std::string::npos) << redraws[1];
    if (columns >= 80) {
      EXPECT_NE(redraws[1].find("第一章_冒頭の語り.wav"), std::string::npos) << redraws[1];
    }
    // A log line is printed on a line of its own, the progress line after it.
    view.AppendLogLine("一行");
    view.Finish();
    const std::string screen = terminal.screen();
    EXPECT_NE(screen.find("\r\033[K一行\r\n"), std::string::npos);
  }
}

TEST(TerminalProgress, TheLineKeepsTheEndOfTheNameAndNeverSplitsACharacter) {
  for (int columns = 10; columns <= 120; columns += 7) {
    const std::string line = TerminalProgress::Line(33, "1分5秒", kJapaneseName, columns);
    EXPECT_LE(cli::DisplayWidth(line), static_cast<std::size_t>(columns - 1)) << line;
    // Every byte sequence is whole UTF-8: no character was cut.
    std::size_t i = 0;
    while (i < line.size()) {
      const auto lead = static_cast<unsigned char>(line[i]);
      const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
      ASSERT_LE(i + length, line.size()) << line;
      i += length;
    }
    if (columns >= 60) {
      EXPECT_NE(line.find("語り.wav"), std::string::npos) << line;
    }
  }
}
#endif
