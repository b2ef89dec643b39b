// tkwmakedemo: writes a small stereo demonstration sound, two decaying tones
// built the way the codec models sound: one period as literal samples, then
// copy blocks that repeat the period before them, scaled a little down.
//
//   tkwmakedemo output.tkw [frames]
#include "testutil/TkwTestWriter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

using testutil::TkwBlock;
using testutil::TkwCodecParams;
using testutil::TkwCopyBlock;
using testutil::TkwLiteralBlock;

constexpr std::uint32_t kSector = 131072;

// The literal code whose value (±2m²) is nearest to the sample.
std::uint32_t LiteralCode(double sample) {
  const double magnitude = std::fabs(sample);
  auto m = static_cast<std::uint32_t>(std::lround(std::sqrt(magnitude / 2)));
  if (m > 127) m = 127;
  return (sample < 0 ? 128u : 0u) | m;
}

// One channel of one sector: a period of `period` samples (a multiple of 4)
// of a sine, then copies of the period before with contrast code 62.
std::vector<TkwBlock> ToneBlocks(int period, double amplitude, std::int32_t frames) {
  const double pi = std::acos(-1.0);
  std::vector<TkwBlock> blocks;
  for (int i = 0; i < period; i += 4) {
    TkwLiteralBlock literal;
    for (int k = i; k < i + 4; ++k)
      literal.codes.push_back(LiteralCode(amplitude * std::sin(2 * pi * k / period)));
    blocks.push_back(literal);
  }
  for (std::int32_t produced = period; produced < frames; produced += 512)
    blocks.push_back(TkwCopyBlock{7, static_cast<std::uint32_t>(period - 1), 62, 0});
  return blocks;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::printf("usage: tkwmakedemo output.tkw [frames]\n");
    return 1;
  }
  const std::uint32_t length = argc == 3 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 200000;
  testutil::TkwSoundLayout layout;
  layout.codec = TkwCodecParams{};
  layout.codec.offsetBits = 8;
  layout.length = length;
  layout.sampleRate = 44100;
  layout.channels = 2;
  for (std::uint32_t start = 0; start < length; start += kSector) {
    const auto frames = static_cast<std::int32_t>(std::min(length - start, kSector));
    layout.chunks.push_back(testutil::EncodeTkwChunk(layout.codec, ToneBlocks(100, 20000, frames)));
    layout.chunks.push_back(testutil::EncodeTkwChunk(layout.codec, ToneBlocks(152, 12000, frames)));
  }
  const auto bytes = testutil::BuildTkwFile(layout);
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
