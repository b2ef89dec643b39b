#pragma once

#include <cstdint>

namespace plat {

// Milliseconds since an arbitrary start; wraps at 2^32 like the Windows tick count.
std::uint32_t tickCount();
void sleepMs(std::uint32_t milliseconds);

} // namespace plat
