#include "encoder_app/CommandLine.h"
#include "platform/Files.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::string Full(const std::string& path) {
  std::string full;
  return plat::fullPathName(path.c_str(), full) ? full : path;
}

} // namespace

TEST(EncoderCommandLine, OptionsOverrideTheSettings) {
  testutil::TempDir dir;
  EncoderSettings s;
  EncoderCommandLine line(s);
  ASSERT_EQ(line.Parse({"-c", "1", "--tolerance=250", "-d12", "--no-min-blocks", "-fq", "--no-log", "--no-subfolders",
                        "-j", "3", dir.path(), dir.file("out") + "/"}),
            cli::OptionParser::Result::Run)
      << line.error();
  EXPECT_EQ(s.EncodeVersion, 1);
  EXPECT_EQ(s.MaxError2, 250);
  EXPECT_EQ(s.DestBits, 12);
  EXPECT_EQ(s.bEncodeMinBits, 0);
  EXPECT_EQ(s.bRemake, 1);
  EXPECT_EQ(s.bMakeLog, 0);
  EXPECT_EQ(s.bSearchSub, 0);
  EXPECT_EQ(line.parser().verbosity(), cli::Verbosity::Quiet);
  EXPECT_EQ(line.command().threads, 3);
  EXPECT_EQ(line.command().inputs, std::vector<std::string>{Full(dir.path())});
  EXPECT_EQ(line.command().outputFolder, Full(dir.file("out") + "/"));
}

// Which operand is the output: a folder given last, a .tkw file or "-" after
// a single input, or none.
TEST(EncoderCommandLine, OperandsAreSortedIntoInputsAndAnOutput) {
  testutil::TempDir dir;
  plat::makeDirectory(dir.file("out").c_str());
  const std::string out = dir.file("out");
  const std::string a = dir.file("a.wav"), b = dir.file("b.wav");
  const struct {
    std::vector<std::string> arguments;
    std::vector<std::string> inputs;
    std::string outputFile, outputFolder;
  } cases[] = {
      {{a}, {a}, "", ""},
      {{a, b}, {a, b}, "", ""},
      {{a, b, out}, {a, b}, "", out},
      {{a, out}, {a}, "", out},
      {{dir.path(), out}, {dir.path()}, "", out},
      {{a, dir.file("x.TKW")}, {a}, dir.file("x.TKW"), ""},
      {{"-", dir.file("x.tkw")}, {"-"}, dir.file("x.tkw"), ""},
      {{a, "-"}, {a}, "-", ""},
      {{"-o", "-", "-"}, {"-"}, "-", ""},
      {{"-o", dir.file("y.tkw"), a}, {a}, dir.file("y.tkw"), ""},
      {{"-O", out, a, b}, {a, b}, "", out},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.back());
    EncoderSettings s;
    EncoderCommandLine line(s);
    ASSERT_EQ(line.Parse(c.arguments), cli::OptionParser::Result::Run) << line.error();
    std::vector<std::string> inputs;
    for (const std::string& input : c.inputs)
      inputs.push_back(input == "-" ? input : Full(input));
    EXPECT_EQ(line.command().inputs, inputs);
    EXPECT_EQ(line.command().outputFile,
              c.outputFile.empty() || c.outputFile == "-" ? c.outputFile : Full(c.outputFile));
    EXPECT_EQ(line.command().outputFolder, c.outputFolder.empty() ? "" : Full(c.outputFolder));
  }
}

TEST(EncoderCommandLine, UnusableCommandLinesAreRefusedWithTheReason) {
  testutil::TempDir dir;
  plat::makeDirectory(dir.file("out").c_str());
  const struct {
    std::vector<std::string> arguments;
    const char* reason;
  } cases[] = {
      {{}, "no input given"},
      {{"-t", "-5", "a.wav"}, "'-5' is not a number"},
      {{"-t", "12x", "a.wav"}, "'12x' is not a number"},
      {{"-c", "4", "a.wav"}, "out of range (1 to 3)"},
      {{"--frobnicate", "a.wav"}, "unknown option --frobnicate"},
      {{"-d"}, "needs a value"},
      {{"--log=1", "a.wav"}, "takes no value"},
      {{"-", "a.wav"}, "needs an output file"},
      {{"-", "-", "x.tkw"}, "only once"},
      {{"-o", "x.tkw", "a.wav", "b.wav"}, "one input, but 2 are given"},
      {{"-o", "x.tkw", dir.path()}, "is a folder"},
      {{"-o", "x.tkw", "-O", dir.file("out"), "a.wav"}, "cannot be used together"},
      {{"-O", dir.file("out"), "a.wav", dir.path()}, "two output folders"},
  };
  for (const auto& c : cases) {
    EncoderSettings s;
    EncoderCommandLine line(s);
    EXPECT_EQ(line.Parse(c.arguments), cli::OptionParser::Result::Error) << c.reason;
    EXPECT_NE(line.error().find(c.reason), std::string::npos) << line.error();
  }
  EncoderSettings s;
  EncoderCommandLine line(s);
  EXPECT_EQ(line.Parse({"a.wav", "--help"}), cli::OptionParser::Result::Help);
}
