#include "platform/Terminal.h"

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace plat {

bool readHiddenLine(const char* prompt, std::string& line) {
  std::fputs(prompt, stderr);
  std::fflush(stderr);
  termios saved{};
  const bool terminal = ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &saved) == 0;
  if (terminal) {
    termios quiet = saved;
    quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
    quiet.c_lflag |= ECHONL;
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  line.clear();
  bool gotAny = false;
  for (int c; (c = std::fgetc(stdin)) != EOF;) {
    gotAny = true;
    if (c == '\n') break;
    line += static_cast<char>(c);
  }
  if (terminal) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return gotAny;
}

} // namespace plat
