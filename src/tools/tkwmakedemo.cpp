// tkwmakedemo: writes a small stereo demonstration sound, two decaying tones
// built the way the codec models sound: one period as literal samples, then
// copy blocks that repeat the period before them, scaled a little down.
//
//   tkwmakedemo output.tkw [frames]
#include "format/TkwBitWriter.h"
#include "format/TkwFileLayout.h"
#include "format/TkwFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

constexpr std::uint8_t kOffsetBits = 8;
constexpr std::uint32_t kLongestBlockCode = 7; // 512 samples
constexpr std::uint32_t kContrastJustBelowOne = 62;

// The literal code whose value (±2m²) is nearest to the sample.
std::uint32_t LiteralCode(double sample) {
  const double magnitude = std::fabs(sample);
  auto m = static_cast<std::uint32_t>(std::lround(std::sqrt(magnitude / 2)));
  if (m > 127) m = 127;
  return (sample < 0 ? 128u : 0u) | m;
}

// One channel of one sector: a period of `period` samples (a multiple of 4)
// of a sine as literal blocks, then copies of the period before.
std::vector<unsigned char> ToneChunk(int period, double amplitude, std::int32_t frames) {
  const double pi = std::acos(-1.0);
  TkwBitWriter bits;
  for (int i = 0; i < period; i += 4) {
    bits.Put(0, 1);
    for (int k = i; k < i + 4; ++k)
      bits.Put(LiteralCode(amplitude * std::sin(2 * pi * k / period)), 8);
  }
  for (std::int32_t produced = period; produced < frames; produced += tkw::kMaxBlockLength) {
    bits.Put(1, 1);
    bits.Put(kLongestBlockCode, 3);
    bits.Put(static_cast<std::uint32_t>(period - 1), kOffsetBits);
    bits.Put(kContrastJustBelowOne, 8);
    bits.Put(0, 9);
  }
  bits.Flush();
  return bits.Bytes();
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::printf("usage: tkwmakedemo output.tkw [frames]\n");
    return 1;
  }
  const std::uint32_t length = argc == 3 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 200000;
  TkwHeaderValues header = MakeTkwHeaderValues(2, length, 44100, 2);
  header.offsetBits = kOffsetBits;
  TkwSectorTable table;
  std::vector<unsigned char> data;
  for (std::uint32_t sector = 0; sector < tkw::SectorCount(length); ++sector) {
    const std::int32_t frames = tkw::SectorFrames(length, sector);
    for (const auto& chunk : {ToneChunk(100, 20000, frames), ToneChunk(152, 12000, frames)}) {
      table.push_back({static_cast<std::uint32_t>(data.size()), static_cast<std::uint32_t>(chunk.size())});
      data.insert(data.end(), chunk.begin(), chunk.end());
    }
  }
  std::vector<unsigned char> bytes = TkwFileHeaderBytes(header, table);
  bytes.insert(bytes.end(), data.begin(), data.end());
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "tkwmakedemo: cannot write %s\n", argv[1]);
    return 2;
  }
  std::printf("wrote %s: %u frames, 2 channels, 44100 Hz, %zu bytes\n", argv[1], length, bytes.size());
  return 0;
}
