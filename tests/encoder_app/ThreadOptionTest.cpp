// The thread count of the command line: every spelling, and what is refused.
#include "encoder_app/CommandLine.h"

#include <gtest/gtest.h>

TEST(EncoderCommandLine, ThreadCount) {
  const struct {
    std::vector<std::string> args;
    int threads;
  } accepted[] = {
      {{"a.wav"}, 0},
      {{"-j", "3", "a.wav"}, 3},
      {{"-j2", "a.wav"}, 2},
      {{"--threads", "1", "a.wav"}, 1},
      {{"--threads=7", "a.wav"}, 7},
      {{"-j", "0", "a.wav"}, 0},
      {{"-j", "256", "a.wav"}, 256},
  };
  for (const auto& c : accepted) {
    EncoderSettings settings;
    EncoderCommandLine line(settings);
    EXPECT_EQ(line.Parse(c.args), cli::OptionParser::Result::Run) << c.args[0] << ": " << line.error();
    EXPECT_EQ(line.command().threads, c.threads) << c.args[0];
  }
  const std::vector<std::vector<std::string>> refused = {
      {"-j"}, {"-j", "-2", "a.wav"}, {"--threads=x", "a.wav"}, {"-j", "257", "a.wav"}, {"-j", "100000", "a.wav"}};
  for (const auto& args : refused) {
    EncoderSettings settings;
    EncoderCommandLine line(settings);
    EXPECT_EQ(line.Parse(args), cli::OptionParser::Result::Error) << args.back();
  }
  EncoderSettings settings;
  EncoderCommandLine line(settings);
  EXPECT_NE(line.parser().HelpText().find("--threads=N"), std::string::npos);
}
