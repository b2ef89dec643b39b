// Any bytes as an input wave file: the reader either refuses it or yields
// frames that lie inside the file, and reading them never fails. The bytes
// are read where they are, in memory.
#include "encoder/ChannelBuffers.h"
#include "format/TkwFormat.h"
#include "support/MemoryByteSource.h"
#include "wave/RWaveFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  RWaveFile wave;
  try {
    wave.Open(std::make_unique<MemoryByteSource>(data, size));
  } catch (...) {
    return 0;
  }
  const std::uint64_t dataEnd = std::uint64_t{wave.dataStart} + std::uint64_t{wave.frames} * wave.blockAlign;
  if (wave.channels < 1 || wave.channels > 2 || dataEnd > size) __builtin_trap();
  if (wave.bitsPerSample == 16) {
    std::uint32_t left = wave.frames;
    while (left > 0) {
      const std::uint32_t count = std::min<std::uint32_t>(left, tkw::kSectorLength);
      ChannelBuffers buffers(wave.channels, count);
      // Every declared frame lies in the file, so every read is whole.
      if (buffers.Read(wave, count) != count) __builtin_trap();
      left -= count;
    }
  }
  wave.Close();
  return 0;
}
