#include "platform/Console.h"

#include <windows.h>

#include <atomic>
#include <fcntl.h>
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

bool isTerminal(std::FILE* stream) { return stream && _isatty(_fileno(stream)) != 0; }

int terminalColumns(std::FILE* stream) {
  if (!isTerminal(stream)) return 0;
  HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(console, &info)) return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

void makeStandardOutputBinary() { _setmode(_fileno(stdout), _O_BINARY); }
void makeStandardInputBinary() { _setmode(_fileno(stdin), _O_BINARY); }

} // namespace plat
