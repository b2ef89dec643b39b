#include "support/LogWriter.h"

#include "support/RString.h"

#include <cstdarg>

LogWriter& LogWriter::Instance() {
  static LogWriter writer;
  return writer;
}

bool LogWriter::OpenFile(const char* path) {
  std::lock_guard lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = std::fopen(path, "w"); // text mode: CR LF on Windows
  return file_ != nullptr;
}

void LogWriter::CloseFile() {
  std::lock_guard lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

bool LogWriter::IsFileOpen() const {
  std::lock_guard lock(mutex_);
  return file_ != nullptr;
}

void LogWriter::SetSink(LogSink* sink) {
  std::lock_guard lock(mutex_);
  sink_ = sink;
}

void LogWriter::Write(const char* line) {
  std::lock_guard lock(mutex_);
  if (file_) {
    std::fputs(line, file_);
    std::fputs("\n", file_);
    std::fflush(file_);
  }
  if (sink_) sink_->AppendLogLine(line);
}

void WriteLog(const char* format, ...) {
  char line[RString::kCapacity];
  va_list arguments;
  va_start(arguments, format);
  const int needed = std::vsnprintf(line, sizeof line, format, arguments);
  va_end(arguments);
  // A cut line ends before its last whole character, not inside one.
  if (needed >= static_cast<int>(sizeof line)) line[CharacterBoundary(line, sizeof line - 1)] = '\0';
  LogWriter::Instance().Write(line);
}
