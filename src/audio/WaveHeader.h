// One buffer handed to a wave-out device, with the flags the device sets as
// it takes the buffer in and plays it.
#pragma once

#include <atomic>
#include <cstdint>

namespace audio {

inline constexpr std::uint32_t kWaveHeaderDone = 0x01;     // WHDR_DONE
inline constexpr std::uint32_t kWaveHeaderPrepared = 0x02; // WHDR_PREPARED
inline constexpr std::uint32_t kWaveHeaderInQueue = 0x10;  // WHDR_INQUEUE

// The caller keeps data alive until the header is done (or the device refused
// it) and unprepared.
struct WaveHeader {
  const char* data = nullptr;
  std::uint32_t bytes = 0;
  std::atomic<std::uint32_t> flags{0};
  void* native = nullptr; // the driver's own record of the buffer

  bool done() const { return (flags.load(std::memory_order_acquire) & kWaveHeaderDone) != 0; }
};

} // namespace audio
