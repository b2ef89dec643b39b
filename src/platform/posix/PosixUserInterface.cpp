#include "platform/NativeUserInterface.h"
#include "platform/UserInterface.h"

#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace plat {

int nativeMessageBox(const char* text, const char* caption, unsigned) {
  std::fprintf(stderr, "[%s] %s\n", caption, text);
  std::fflush(stderr);
  return 1; // OK: nobody can answer, and nothing may block
}

bool openFolder(const char* path) {
  char program[] = "xdg-open";
  std::string target = path ? path : ".";
  char* argv[] = {program, target.data(), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  ::waitpid(child, &status, WNOHANG);
  return true;
}

} // namespace plat
