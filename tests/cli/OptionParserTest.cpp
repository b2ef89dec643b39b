#include "cli/OptionParser.h"

#include <gtest/gtest.h>

namespace {

struct Fixture {
  Fixture() : parser("prog", "[options] FILE...", "Does things to files.") {
    parser.Section("Things:")
        .Number('c', "codec", "N", "codec version", codec, 1, 3)
        .Toggle('r', "subfolders", "walk sub-folders", subfolders)
        .Switch('x', "extra", "an extra", extra)
        .Text('o', "output", "FILE", "where to write", output);
  }
  std::int32_t codec = 2;
  std::int32_t subfolders = 1;
  bool extra = false;
  std::string output;
  cli::OptionParser parser;
};

} // namespace

TEST(OptionParser, ShortLongClusteredAndSeparateValues) {
  const struct {
    std::vector<std::string> arguments;
    std::int32_t codec;
    std::int32_t subfolders;
    bool extra;
    std::string output;
    std::vector<std::string> operands;
    cli::Verbosity verbosity;
  } cases[] = {
      {{"a"}, 2, 1, false, "", {"a"}, cli::Verbosity::Normal},
      {{"-c", "3", "a"}, 3, 1, false, "", {"a"}, cli::Verbosity::Normal},
      {{"-c1", "a", "b"}, 1, 1, false, "", {"a", "b"}, cli::Verbosity::Normal},
      {{"--codec=1", "a"}, 1, 1, false, "", {"a"}, cli::Verbosity::Normal},
      {{"a", "--codec", "3"}, 3, 1, false, "", {"a"}, cli::Verbosity::Normal}, // options after operands
      {{"-xqo", "out", "a"}, 2, 1, true, "out", {"a"}, cli::Verbosity::Quiet},
      {{"--no-subfolders", "-v", "-"}, 2, 0, false, "", {"-"}, cli::Verbosity::Verbose},
      {{"-r", "--", "-c", "--x"}, 2, 1, false, "", {"-c", "--x"}, cli::Verbosity::Normal},
      {{"--output=", "a"}, 2, 1, false, "", {"a"}, cli::Verbosity::Normal},
      {{"-o", "-", "a"}, 2, 1, false, "-", {"a"}, cli::Verbosity::Normal},
  };
  for (const auto& c : cases) {
    Fixture f;
    ASSERT_EQ(f.parser.Parse(c.arguments), cli::OptionParser::Result::Run) << f.parser.Error();
    EXPECT_EQ(f.codec, c.codec);
    EXPECT_EQ(f.subfolders, c.subfolders);
    EXPECT_EQ(f.extra, c.extra);
    EXPECT_EQ(f.output, c.output);
    EXPECT_EQ(f.parser.Operands(), c.operands);
    EXPECT_EQ(f.parser.verbosity(), c.verbosity);
  }
}

TEST(OptionParser, ErrorsNameTheOptionAndTheProblem) {
  const struct {
    std::vector<std::string> arguments;
    const char* error;
  } cases[] = {
      {{"--bogus"}, "unknown option --bogus"},
      {{"-z"}, "unknown option -z"},
      {{"-c"}, "option -c needs a value (N)"},
      {{"a", "--codec"}, "option --codec needs a value (N)"},
      {{"-c", "9"}, "option -c: '9' is out of range (1 to 3)"},
      {{"--codec=+2"}, "option --codec: '+2' is not a number"},
      {{"--codec=2x"}, "option --codec: '2x' is not a number"},
      {{"--codec=99999999999999999999"}, "is not a number"},
      {{"--extra=1"}, "option --extra takes no value"},
      {{"--no-extra"}, "unknown option --no-extra"},
      {{"--quiet=yes"}, "takes no value"},
  };
  for (const auto& c : cases) {
    Fixture f;
    EXPECT_EQ(f.parser.Parse(c.arguments), cli::OptionParser::Result::Error) << c.error;
    EXPECT_NE(f.parser.Error().find(c.error), std::string::npos) << f.parser.Error();
  }
  Fixture f;
  EXPECT_EQ(f.parser.Parse({"--bogus", "--help"}), cli::OptionParser::Result::Error); // the first problem wins
  EXPECT_EQ(f.parser.Parse({"a", "-h"}), cli::OptionParser::Result::Help);
  EXPECT_EQ(f.parser.Parse({"--version", "a"}), cli::OptionParser::Result::Version);
  EXPECT_EQ(f.parser.Parse({"-V", "--help"}), cli::OptionParser::Result::Help);
}

TEST(OptionParser, HelpHasAlignedColumnsDefaultsAndExitStatuses) {
  Fixture f;
  const std::string help = f.parser.HelpText();
  EXPECT_EQ(help.rfind("Usage: prog [options] FILE...\nDoes things to files.\n\nThings:\n", 0), 0u) << help;
  // Every description starts in the same column, and no line is wider than 79.
  std::size_t column = 0;
  std::size_t start = 0;
  while (start < help.size()) {
    const std::size_t end = help.find('\n', start);
    const std::string line = help.substr(start, end - start);
    start = end + 1;
    EXPECT_LE(line.size(), 79u) << line;
    if (line.rfind("  -", 0) != 0) continue;
    const std::size_t gap = line.find("  ", 3);
    if (gap == std::string::npos) continue; // too long: the description follows on the next line
    const std::size_t text = line.find_first_not_of(' ', gap);
    if (column == 0) column = text;
    EXPECT_EQ(text, column) << line;
  }
  EXPECT_NE(help.find("  -c, --codec=N"), std::string::npos);
  EXPECT_NE(help.find("codec version (default: 2)"), std::string::npos) << help;
  EXPECT_NE(help.find("  -r, --subfolders, --no-subfolders"), std::string::npos) << help;
  EXPECT_NE(help.find("walk sub-folders (default: on)"), std::string::npos) << help;
  EXPECT_NE(help.find("  -q, --quiet"), std::string::npos);
  EXPECT_NE(help.find("  -V, --version"), std::string::npos);
  EXPECT_NE(help.find("\nExit status:\n  0    "), std::string::npos) << help;
  EXPECT_NE(help.find("\n  130  stopped by Ctrl-C\n"), std::string::npos) << help;
  EXPECT_EQ(f.parser.VersionText(), "prog (tkw) " TKW_PROJECT_VERSION "\n");
}
