// The arguments of the Linux command-line encoder: inputs (wave files,
// folders, "-" for a wave stream on standard input), where the outputs go,
// and options that override TkwEncoder.ini for one run.
#pragma once

#include "cli/OptionParser.h"
#include "encoder/EncoderSettings.h"

#include <string>
#include <vector>

struct EncoderCommand {
  std::vector<std::string> inputs;
  std::string outputFile;   // the output of the one input ("-": standard output); empty: use the folder
  std::string outputFolder; // empty: the WritePath of TkwEncoder.ini
  bool save = false;        // store this run's settings in TkwEncoder.ini
  int threads = 0;          // encoding threads, 0 = all cores
  bool threadsGiven = false;
};

class EncoderCommandLine {
public:
  // The options change `settings`, loaded from the ini file before.
  explicit EncoderCommandLine(EncoderSettings& settings);

  // Parses and sorts the operands into inputs and an output. Result::Error
  // is a usage error, explained by error().
  cli::OptionParser::Result Parse(const std::vector<std::string>& arguments);
  const std::string& error() const { return error_.empty() ? parser_.Error() : error_; }

  cli::OptionParser& parser() { return parser_; }
  const EncoderCommand& command() const { return command_; }

private:
  std::string SortOperands(const std::vector<std::string>& operands);

  EncoderCommand command_;
  cli::OptionParser parser_;
  std::string error_;
};

// True when the name ends in ".tkw" in any letter case.
bool HasTkwExtension(const std::string& path);
