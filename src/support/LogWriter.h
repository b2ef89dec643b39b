// The progress log of the programs: each line goes to Log.txt in the current
// directory (when open) and to whatever shows the log (a window, a terminal,
// a test).
#pragma once

#include <cstdio>
#include <mutex>

class LogSink {
public:
  virtual ~LogSink() = default;
  // One line, without its line ending.
  virtual void AppendLogLine(const char* line) = 0;
};

class LogWriter {
public:
  static LogWriter& Instance();

  // Truncates and opens the file; false when it cannot be created.
  bool OpenFile(const char* path = "Log.txt");
  void CloseFile();
  bool IsFileOpen() const;
  void SetSink(LogSink* sink);
  void Write(const char* line);

private:
  mutable std::mutex mutex_;
  std::FILE* file_ = nullptr;
  LogSink* sink_ = nullptr;
};

// Formats into a 500-byte buffer (longer messages are cut at the last whole
// character that fits, never overrun) and writes the line to the process's log.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
void WriteLog(const char* format, ...);
