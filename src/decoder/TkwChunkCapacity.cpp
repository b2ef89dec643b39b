#include "decoder/TkwChunkCapacity.h"

#include "format/TkwFormat.h"

#include <algorithm>

using namespace tkw;

namespace {

// The fewest bits a block can take: the kind bit and the fields of a copy
// block, or of a literal block where those are fewer (wide distances).
std::uint32_t LeastBlockBits(const TkwHeaderValues& header) {
  if (header.layout == TkwLayout::V1) {
    const std::uint32_t copy = 1u + 3u + header.offsetBits + header.contrastBits + header.brightnessBits;
    return std::min(copy, 1u + 16u * 16u);
  }
  const std::uint32_t flag = header.CodecVersion() == 3 ? 1u : 0u;
  const std::uint32_t copy = 1u + flag + 3u + header.offsetBits + 8u + 9u;
  return std::min(copy, 1u + 4u * 8u);
}

} // namespace

std::uint64_t TkwChunkSampleLimit(const TkwHeaderValues& header, std::uint32_t chunkBytes) {
  const std::uint64_t bits = std::uint64_t{chunkBytes} * 8;
  const std::uint64_t least = LeastBlockBits(header);
  return (bits + least - 1) / least * kMaxBlockLength;
}

bool TkwChunksCanFillLength(const TkwHeaderValues& header, const std::vector<TkwSectorEntry>& table) {
  const std::uint32_t channels = header.channels;
  const std::uint32_t sectors = header.SectorCount();
  if (channels == 0 || table.size() < std::size_t{sectors} * channels) return false;
  for (std::uint32_t s = 0; s < sectors; ++s) {
    const std::uint64_t start = std::uint64_t{s} * kSectorLength;
    const std::uint64_t frames = std::min<std::uint64_t>(kSectorLength, header.length - start);
    for (std::uint32_t c = 0; c < channels; ++c)
      if (TkwChunkSampleLimit(header, table[std::size_t{s} * channels + c].size) < frames) return false;
  }
  return true;
}
