// One run of the command-line encoder: every input in turn (wave files,
// folder trees, a wave stream on standard input) through the engine, each
// failure named with its file and reason on standard error, and a summary at
// the end (files, seconds of audio, sizes before and after, time taken).
#pragma once

#include "cli/Reporter.h"
#include "encoder/EncodeDriver.h"
#include "encoder_app/CommandLine.h"
#include "encoder_app/EncodeProgress.h"
#include "encoder_app/StopSignal.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class TerminalProgress;

class ConsoleEncoder : public EncodeProgress {
public:
  struct Totals {
    int encoded = 0;
    int skipped = 0;
    int failed = 0;
    std::uint64_t inputBytes = 0;
    std::uint64_t outputBytes = 0;
    double audioSeconds = 0;
  };

  // The settings' paths are ignored: the inputs and outputs come from the command.
  ConsoleEncoder(const EncoderSettings& settings, const EncoderCommand& command, cli::Reporter& reporter,
                 TerminalProgress& view, StopSignal& stop);

  // The exit status: 0, 1 (some input failed), 2 (unusable settings), 130 (stopped).
  int Run();
  const Totals& totals() const { return totals_; }
  std::string SummaryLine(double seconds, bool stopped) const;

  void OnFileStart(const char* wavePath, const char* outputPath) override;
  void OnProgress(std::uint64_t total, std::uint64_t done) override;
  void OnFileEnd(std::uint64_t inputSize, std::uint64_t outputSize) override;
  void OnFileFailed(const char* wavePath, const char* reason) override;

private:
  struct Current {
    bool active = false;
    bool ended = false;
    bool reported = false;
    std::string wave;
    std::string output;
  };

  bool EncodeInput(EncodeDriver& driver, const std::string& input, const std::string& folder);
  void EncodeToFile(EncodeDriver& driver, const std::string& wave, const std::string& target);
  bool SpoolStandardInput(const std::string& path);
  void CloseFile();
  void Fail(const std::string& shownPath, const std::string& reason);
  std::string Shown(const std::string& path) const;

  EncoderSettings settings_;
  const EncoderCommand& command_;
  cli::Reporter& reporter_;
  StopSignal& stop_;
  Current current_;
  Totals totals_;
  std::map<std::string, std::string> shownNames_; // temporary paths and what the user called them
};
