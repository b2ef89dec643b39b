#include "platform/Terminal.h"

#include <windows.h>

#include <cstdio>

namespace plat {

bool readHiddenLine(const char* prompt, std::string& line) {
  std::fputs(prompt, stderr);
  std::fflush(stderr);
  HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD saved = 0;
  const bool console = ::GetConsoleMode(input, &saved) != 0;
  if (console) ::SetConsoleMode(input, saved & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  line.clear();
  bool gotAny = false;
  for (int c; (c = std::fgetc(stdin)) != EOF;) {
    gotAny = true;
    if (c == '\n') break;
    line += static_cast<char>(c);
  }
  if (console) {
    ::SetConsoleMode(input, saved);
    std::fputc('\n', stderr);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return gotAny;
}

} // namespace plat
