#include "platform/Console.h"

#include <atomic>
#include <csignal>
#include <sys/ioctl.h>
#include <unistd.h>

namespace plat {

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "used from a signal handler");

extern "C" void OnInterrupt(int signal) {
  interrupted.store(true);
  // The next one is not caught: a stuck program can still be ended.
  std::signal(signal, SIG_DFL);
}

} // namespace

void installInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool interruptRequested() { return interrupted.load(); }
void clearInterruptRequest() { interrupted.store(false); }

bool isErrorStreamTerminal() { return ::isatty(STDERR_FILENO) == 1; }

bool isTerminal(std::FILE* stream) { return stream && ::isatty(::fileno(stream)) == 1; }

int terminalColumns(std::FILE* stream) {
  if (!isTerminal(stream)) return 0;
  winsize size{};
  if (::ioctl(::fileno(stream), TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

void makeStandardOutputBinary() {}
void makeStandardInputBinary() {}

} // namespace plat
