// Collects the lines written to the process's log while it lives.
#pragma once

#include "support/LogWriter.h"

#include <mutex>
#include <string>
#include <vector>

namespace testutil {

class LogCapture : public LogSink {
public:
  LogCapture() { LogWriter::Instance().SetSink(this); }
  ~LogCapture() override { LogWriter::Instance().SetSink(nullptr); }

  void AppendLogLine(const char* line) override {
    std::lock_guard lock(mutex_);
    lines_.emplace_back(line);
  }
  std::vector<std::string> lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }

private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

} // namespace testutil
