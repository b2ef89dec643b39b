#if !defined(_WIN32)
#include "testutil/PseudoTerminal.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace testutil {

PseudoTerminal::PseudoTerminal(int columns, int rows) {
  winsize size{};
  size.ws_col = static_cast<unsigned short>(columns);
  size.ws_row = static_cast<unsigned short>(rows);
  if (::openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) master_ = slave_ = -1;
}

PseudoTerminal::~PseudoTerminal() {
  if (child_ > 0) {
    ::kill(child_, SIGKILL);
    ::waitpid(child_, nullptr, 0);
  }
  if (stream_)
    std::fclose(stream_);
  else if (slave_ >= 0)
    ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

bool PseudoTerminal::Start(const std::string& command, const std::string& folder) {
  if (!ok()) return false;
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    ::setsid();
    ::ioctl(slave_, TIOCSCTTY, 0);
    ::dup2(slave_, 0);
    ::dup2(slave_, 1);
    ::dup2(slave_, 2);
    ::close(master_);
    if (::chdir(folder.c_str()) != 0) ::_exit(126);
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  child_ = child;
  return true;
}

void PseudoTerminal::Read(int timeoutMs) {
  pollfd poll{master_, POLLIN, 0};
  if (::poll(&poll, 1, timeoutMs) <= 0 || !(poll.revents & POLLIN)) return;
  char buffer[4096];
  const ssize_t got = ::read(master_, buffer, sizeof buffer);
  if (got > 0) screen_.append(buffer, static_cast<std::size_t>(got));
}

bool PseudoTerminal::WaitFor(const std::string& text, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (screen_.find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Read(20);
  }
  return true;
}

void PseudoTerminal::Type(const std::string& keys) {
  if (::write(master_, keys.data(), keys.size()) < 0) return;
}

int PseudoTerminal::Wait(int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(child_, &status, WNOHANG);
    if (done == child_) {
      child_ = -1;
      Read(0);
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (std::chrono::steady_clock::now() > deadline) return -1;
    Read(20); // a program blocked on a full terminal must not hang
  }
}

std::FILE* PseudoTerminal::stream() {
  if (!stream_ && slave_ >= 0) stream_ = ::fdopen(slave_, "w");
  return stream_;
}

const std::string& PseudoTerminal::screen() {
  if (stream_) std::fflush(stream_);
  for (std::size_t before = screen_.size() + 1; before != screen_.size();) {
    before = screen_.size();
    Read(50);
  }
  return screen_;
}

bool PseudoTerminal::EchoOn() const {
  termios settings{};
  return ::tcgetattr(slave_, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
}

} // namespace testutil
#endif
