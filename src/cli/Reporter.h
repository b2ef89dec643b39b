// What a command-line program tells its user. Errors go to standard error as
// "program: subject: reason" and are never silenced; progress and results go
// to the information stream (standard output, or standard error when standard
// output carries data), which --quiet silences; details only with --verbose.
#pragma once

#include "cli/OptionParser.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace cli {

class Reporter {
public:
  explicit Reporter(std::string program) : program_(std::move(program)) {}

  void SetVerbosity(Verbosity verbosity) { verbosity_ = verbosity; }
  Verbosity verbosity() const { return verbosity_; }
  bool quiet() const { return verbosity_ == Verbosity::Quiet; }
  bool verbose() const { return verbosity_ == Verbosity::Verbose; }

  // Standard output carries data (a sound written to "-"): information moves
  // to standard error.
  void SetDataOnStandardOutput(bool data) { info_ = data ? stderr : stdout; }
  void SetInfoStream(std::FILE* stream) { info_ = stream; }
  std::FILE* infoStream() const { return info_; }

  // "program: subject: reason"; line breaks inside become spaces so that each
  // error is one line.
  void Error(const std::string& subject, const std::string& reason);
  void Error(const std::string& message);
  // A warning is an error that does not fail the file.
  void Warning(const std::string& subject, const std::string& reason);
  void Info(const std::string& line);
  void Detail(const std::string& line);

  int errors() const { return errors_; }
  const std::string& program() const { return program_; }

  // One line of text without its line breaks (CR and LF become spaces).
  static std::string OneLine(const std::string& text);

private:
  void Write(std::FILE* stream, const std::string& line);

  std::string program_;
  Verbosity verbosity_ = Verbosity::Normal;
  std::FILE* info_ = stdout;
  std::mutex mutex_;
  int errors_ = 0;
};

} // namespace cli
