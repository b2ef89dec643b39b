// The format a wave-out device is opened for: the 18-byte WAVEFORMATEX
// fields, unpacked.
#pragma once

#include <cstdint>

namespace audio {

struct WaveFormat {
  std::uint16_t formatTag = 1;
  std::uint16_t channels = 0;
  std::uint32_t samplesPerSec = 0;
  std::uint32_t avgBytesPerSec = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 16;
  std::uint16_t extraSize = 0;
};

// 16-bit PCM with the derived fields filled in.
WaveFormat pcm16Format(std::uint16_t channels, std::uint32_t samplesPerSec);

// The formats every device here plays: PCM, 16 bits, one or two channels,
// consistent derived fields, a rate between 1000 and 192000.
bool isPlayableFormat(const WaveFormat& format);

} // namespace audio
