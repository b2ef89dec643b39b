#include "platform/Console.h"

#include <windows.h>

#include <atomic>
#include <io.h>
#include <stdio.h>

namespace plat {

namespace {

std::atomic<bool> interrupted{false};

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  // A second request falls through to the default handler, which ends the process.
  if (interrupted.exchange(true)) return FALSE;
  return TRUE;
}

} // namespace

void installInterruptHandler() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool interruptRequested() { return interrupted.load(); }
void clearInterruptRequest() { interrupted.store(false); }

bool isErrorStreamTerminal() { return _isatty(_fileno(stderr)) != 0; }

} // namespace plat
