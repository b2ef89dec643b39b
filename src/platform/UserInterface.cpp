#include "platform/UserInterface.h"
#include "platform/NativeUserInterface.h"

#include <mutex>

namespace plat {
namespace {

std::mutex hookMutex;
MessageBoxHook& currentHook() {
  static MessageBoxHook hook;
  return hook;
}

} // namespace

int messageBox(const char* text, const char* caption, unsigned style) {
  MessageBoxHook hook;
  {
    std::lock_guard lock(hookMutex);
    hook = currentHook();
  }
  if (hook) return hook(text ? text : "", caption ? caption : "", style);
  return nativeMessageBox(text ? text : "", caption ? caption : "", style);
}

void setMessageBoxHook(MessageBoxHook hook) {
  std::lock_guard lock(hookMutex);
  currentHook() = std::move(hook);
}

} // namespace plat
