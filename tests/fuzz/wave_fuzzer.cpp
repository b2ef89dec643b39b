// Any bytes as an input wave file: the reader either refuses it or yields
// frames that lie inside the file, and reading them never fails.
#include "FuzzFiles.h"
#include "encoder/ChannelBuffers.h"
#include "encoder/RWaveFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::WriteFile("in.wav", data, size);
  RWaveFile wave;
  try {
    wave.Open(path.c_str(), 0);
  } catch (...) {
    return 0;
  }
  const std::uint64_t dataEnd = std::uint64_t{wave.dataStart} + std::uint64_t{wave.frames} * wave.blockAlign;
  if (wave.channels < 1 || wave.channels > 2 || dataEnd > size) __builtin_trap();
  if (wave.bitsPerSample == 16) {
    std::uint32_t left = wave.frames;
    while (left > 0) {
      const std::uint32_t count = left < 131072 ? left : 131072;
      ChannelBuffers buffers(wave.channels, count);
      buffers.Read(wave, count);
      left -= count;
    }
  }
  wave.Close();
  return 0;
}
