#include "platform/NativeUserInterface.h"
#include "platform/UserInterface.h"

#include <string>
#include <windows.h>

namespace plat {

int nativeMessageBox(const char* text, const char* caption, unsigned style) {
  return MessageBoxA(nullptr, text, caption, style);
}

bool openFolder(const char* path) {
  std::string command = "explorer \"" + std::string(path ? path : ".") + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

} // namespace plat
