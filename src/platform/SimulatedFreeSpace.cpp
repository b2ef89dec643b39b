#include "platform/Files.h"

#include <algorithm>
#include <atomic>

namespace plat {
namespace {

std::atomic<std::uint64_t> freeSpace{kUnlimited};

} // namespace

void simulateFreeSpace(std::uint64_t freeBytes) { freeSpace.store(freeBytes); }

namespace detail {

std::uint32_t takeFreeSpace(std::uint32_t count) {
  std::uint64_t left = freeSpace.load(std::memory_order_relaxed);
  for (;;) {
    if (left == kUnlimited) return count;
    const std::uint64_t taken = std::min<std::uint64_t>(left, count);
    if (freeSpace.compare_exchange_weak(left, left - taken)) return static_cast<std::uint32_t>(taken);
  }
}

} // namespace detail
} // namespace plat
