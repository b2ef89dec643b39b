// The thread count of the command line: every spelling, and what is refused.
#include "encoder_app/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, ThreadCount) {
  const struct {
    std::vector<std::string> args;
    int threads;
  } accepted[] = {
      {{"a.wav"}, 0},
      {{"-j", "3", "a.wav"}, 3},
      {{"--threads", "1", "a.wav"}, 1},
      {{"--threads=7", "a.wav"}, 7},
      {{"-j", "0", "a.wav"}, 0},
  };
  for (const auto& c : accepted) {
    EncoderSettings settings;
    const CommandLine line = ParseCommandLine(c.args, settings);
    EXPECT_TRUE(line.error.empty()) << c.args[0] << ": " << line.error;
    EXPECT_EQ(line.threads, c.threads) << c.args[0];
  }
  const std::vector<std::vector<std::string>> refused = {
      {"-j"}, {"-j", "-2", "a.wav"}, {"--threads=x", "a.wav"}, {"-j", "100000", "a.wav"}};
  for (const auto& args : refused) {
    EncoderSettings settings;
    EXPECT_FALSE(ParseCommandLine(args, settings).error.empty()) << args.back();
  }
  EXPECT_NE(std::string(UsageText()).find("--threads N"), std::string::npos);
}
