#include "encoder_app/TerminalProgress.h"

#include <cstdio>

void TerminalProgress::ShowFiles(const char* wavePath, const char*) {
  std::lock_guard lock(mutex_);
  file_ = wavePath;
  remaining_ = "--秒";
}

void TerminalProgress::ShowPercent(int percent) {
  std::lock_guard lock(mutex_);
  percent_ = percent;
  Draw();
}

void TerminalProgress::ShowRemaining(const std::string& text) {
  std::lock_guard lock(mutex_);
  remaining_ = text;
  Draw();
}

void TerminalProgress::AppendLogLine(const char* line) {
  std::lock_guard lock(mutex_);
  Erase();
  std::printf("%s\n", line);
  std::fflush(stdout);
  Draw();
}

void TerminalProgress::Finish() {
  std::lock_guard lock(mutex_);
  Erase();
  showBar_ = false;
}

void TerminalProgress::Draw() {
  if (!showBar_ || file_.empty()) return;
  constexpr int kWidth = 30;
  const int filled = percent_ * kWidth / 100;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kWidth - filled), '-');
  // Long paths are shown by their end, where the file name is.
  std::string name = file_;
  if (name.size() > 40) name = "..." + name.substr(name.size() - 37);
  std::fprintf(stderr, "\r\033[K%3d%% [%s] 残り %s  %s", percent_, bar.c_str(), remaining_.c_str(), name.c_str());
  std::fflush(stderr);
  drawn_ = true;
}

void TerminalProgress::Erase() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  drawn_ = false;
}
