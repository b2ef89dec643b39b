#include "wave/Pcm16WaveHeader.h"

#include "support/ByteOrder.h"

#include <cstring>

std::array<unsigned char, kPcm16WaveHeaderBytes> Pcm16WaveHeader(std::uint16_t channels, std::uint32_t sampleRate,
                                                                 std::uint32_t dataBytes) {
  const auto blockAlign = static_cast<std::uint16_t>(channels * 2u);
  std::array<unsigned char, kPcm16WaveHeaderBytes> header{};
  unsigned char* h = header.data();
  std::memcpy(h, "RIFF", 4);
  StoreLe32(h + 4, kPcm16WaveHeaderBytes - 8 + dataBytes);
  std::memcpy(h + 8, "WAVE", 4);
  std::memcpy(h + 12, "fmt ", 4);
  StoreLe32(h + 16, 16);
  StoreLe16(h + 20, 1); // PCM
  StoreLe16(h + 22, channels);
  StoreLe32(h + 24, sampleRate);
  StoreLe32(h + 28, sampleRate * blockAlign);
  StoreLe16(h + 32, blockAlign);
  StoreLe16(h + 34, 16);
  std::memcpy(h + 36, "data", 4);
  StoreLe32(h + 40, dataBytes);
  return header;
}
