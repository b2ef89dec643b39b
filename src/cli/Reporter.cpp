#include "cli/Reporter.h"

namespace cli {

std::string Reporter::OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    line += c == '\n' ? ' ' : c;
  }
  while (!line.empty() && line.back() == ' ')
    line.pop_back();
  return line;
}

void Reporter::Write(std::FILE* stream, const std::string& line) {
  std::lock_guard lock(mutex_);
  // Whatever was written for the user before stays in order with this line.
  if (stream == stderr) std::fflush(stdout);
  std::fputs(line.c_str(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

void Reporter::Error(const std::string& subject, const std::string& reason) {
  Error(subject.empty() ? reason : subject + ": " + reason);
}

void Reporter::Error(const std::string& message) {
  ++errors_;
  Write(stderr, program_ + ": " + OneLine(message));
}

void Reporter::Warning(const std::string& subject, const std::string& reason) {
  Write(stderr, program_ + ": " + (subject.empty() ? "" : subject + ": ") + "warning: " + OneLine(reason));
}

void Reporter::Info(const std::string& line) {
  if (!quiet()) Write(info_, line);
}

void Reporter::Detail(const std::string& line) {
  if (verbose()) Write(info_, line);
}

} // namespace cli
