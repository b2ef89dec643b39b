#include "platform/Terminal.h"

#include <csignal>
#include <cstdio>
#include <iterator>
#include <termios.h>
#include <unistd.h>

namespace plat {

namespace {

// While echo is off, a signal that ends the program first gives the terminal
// its settings back; otherwise the shell is left without echo.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
termios g_saved{};
struct sigaction g_previous[std::size(kEndingSignals)];

extern "C" void RestoreAndRaise(int signal) {
  ::tcsetattr(STDIN_FILENO, TCSANOW, &g_saved);
  for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
    if (kEndingSignals[i] == signal) ::sigaction(signal, &g_previous[i], nullptr);
  ::raise(signal);
}

class EchoOff {
public:
  EchoOff() {
    active_ = ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &g_saved) == 0;
    if (!active_) return;
    struct sigaction action {};
    action.sa_handler = RestoreAndRaise;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
      ::sigaction(kEndingSignals[i], &action, &g_previous[i]);
    termios quiet = g_saved;
    quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
    quiet.c_lflag |= ECHONL;
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  ~EchoOff() {
    if (!active_) return;
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_saved);
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
      ::sigaction(kEndingSignals[i], &g_previous[i], nullptr);
  }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

private:
  bool active_ = false;
};

} // namespace

bool readHiddenLine(const char* prompt, std::string& line) {
  std::fputs(prompt, stderr);
  std::fflush(stderr);
  EchoOff echoOff;
  line.clear();
  bool gotAny = false;
  for (int c; (c = std::fgetc(stdin)) != EOF;) {
    gotAny = true;
    if (c == '\n') break;
    line += static_cast<char>(c);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return gotAny;
}

} // namespace plat
