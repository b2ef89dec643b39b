// The arguments of the Linux command-line encoder: an input, an optional
// output folder and options that override TkwEncoder.ini for one run.
#pragma once

#include "encoder/EncoderSettings.h"

#include <string>
#include <vector>

struct CommandLine {
  bool help = false;
  bool save = false;  // store this run's settings in TkwEncoder.ini
  bool quiet = false; // no progress line
  int threads = 0;    // threads that encode at once; 0: one per core
  std::string error;  // not empty when the arguments are unusable
};

// Applies the arguments (without the program name) to the settings loaded
// from the ini file. A folder as input selects directory mode.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments, EncoderSettings& settings);

const char* UsageText();
