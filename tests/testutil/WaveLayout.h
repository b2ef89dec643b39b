// Wave files byte by byte, valid or broken on purpose, for the tests of
// whatever reads them.
#pragma once

#include <cstdint>
#include <vector>

namespace testutil {

// How a wave file is laid out; the defaults give a valid 16-bit PCM file.
struct WaveLayout {
  std::uint16_t formatTag = 1;
  std::uint16_t channels = 1;
  std::uint32_t sampleRate = 22050;
  std::uint16_t bitsPerSample = 16;
  int blockAlign = -1; // -1: channels x bytes per sample
  std::uint32_t fmtSize = 16;
  bool factChunk = false;
  bool listChunk = false;
  std::int64_t riffSizeDelta = 0;
  std::int64_t dataSizeDelta = 0;
  std::vector<std::uint8_t> trailing;
  const char* riffId = "RIFF";
  const char* formType = "WAVE";
  const char* firstChunk = "fmt ";
};

// `payload` holds the data chunk's bytes; for 16-bit files use Pcm16Bytes.
std::vector<std::uint8_t> MakeWave(const std::vector<std::uint8_t>& payload, const WaveLayout& layout = {});
// Interleaved samples as little-endian 16-bit words.
std::vector<std::uint8_t> Pcm16Bytes(const std::vector<std::int16_t>& interleaved);

} // namespace testutil
