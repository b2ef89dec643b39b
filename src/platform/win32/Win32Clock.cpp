#include "platform/Clock.h"

#include <windows.h>

namespace plat {

std::uint32_t tickCount() { return GetTickCount(); }
void sleepMs(std::uint32_t milliseconds) { Sleep(milliseconds); }

} // namespace plat
