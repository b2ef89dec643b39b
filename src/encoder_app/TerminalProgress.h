// Progress on a terminal: one line (percent, bar, remaining time, file) that
// is redrawn in place once per update, fitted to the terminal's width with
// double-width characters counted as two columns, so that it never wraps;
// log lines go to the reporter's information stream above it.
#pragma once

#include "cli/Reporter.h"
#include "encoder_app/EncodeProgress.h"
#include "support/LogWriter.h"

#include <cstdio>
#include <mutex>
#include <string>

class TerminalProgress : public ProgressView, public LogSink {
public:
  // barStream: the terminal the line is drawn on, or null for no line.
  TerminalProgress(std::FILE* barStream, cli::Reporter& reporter) : bar_(barStream), reporter_(reporter) {}

  void ShowFiles(const char* wavePath, const char* outputPath) override;
  void ShowProgress(int percent, const std::string& remaining) override;
  void AppendLogLine(const char* line) override;
  // Removes the progress line (at the end of the run).
  void Finish();

  // The line for a terminal of `columns` columns (less one, so that the
  // cursor never moves to the next line).
  static std::string Line(int percent, const std::string& remaining, const std::string& file, int columns);

private:
  void Draw();
  void Erase();

  std::FILE* bar_;
  cli::Reporter& reporter_;
  std::mutex mutex_;
  bool drawn_ = false;
  std::string file_;
  int percent_ = 0;
  std::string remaining_ = "--秒";
};
