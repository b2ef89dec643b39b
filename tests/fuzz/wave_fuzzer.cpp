// Any bytes as an input wave file: the reader either refuses it or yields
// frames that lie inside the file, and reading them never fails.
#include "encoder/ChannelBuffers.h"
#include "encoder/RWaveFile.h"
#include "platform/Files.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    std::string path = "/tmp/wave-fuzz-" + std::to_string(::getpid());
    plat::makeDirectory(path.c_str());
    return path;
  }();
  return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = Folder() + "/in.wav";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

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
