// Progress on a terminal: one line on the error stream that is redrawn in
// place (percent, bar, remaining time, file), and the log lines on standard
// output above it.
#pragma once

#include "encoder_app/EncodeProgress.h"
#include "support/LogWriter.h"

#include <mutex>
#include <string>

class TerminalProgress : public ProgressView, public LogSink {
public:
  explicit TerminalProgress(bool showBar) : showBar_(showBar) {}

  void ShowFiles(const char* wavePath, const char* outputPath) override;
  void ShowPercent(int percent) override;
  void ShowRemaining(const std::string& text) override;
  void AppendLogLine(const char* line) override;
  // Removes the progress line (at the end of the run).
  void Finish();

private:
  void Draw();
  void Erase();

  bool showBar_;
  std::mutex mutex_;
  bool drawn_ = false;
  std::string file_;
  int percent_ = 0;
  std::string remaining_ = "--秒";
};
