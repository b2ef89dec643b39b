#include "encoder/FixedPointBlocks.h"

#include "encoder/QuantiserB.h"
#include "format/TkwFixedPoint.h"

namespace fixed_point_blocks {

std::vector<int> UsableLengths(int bEncodeMinBits) {
  std::vector<int> lengths;
  for (int r = SmallestSize(bEncodeMinBits); r <= kLargestSize; ++r)
    lengths.push_back(kSizeTable[static_cast<std::size_t>(r)]);
  return lengths;
}

void Reconstruct(WorkingSignal& x, int p, int length, const SearchResult& result) {
  // The coded values in 16.16 fixed point, copied exactly as the decoder does.
  const auto f = static_cast<std::uint32_t>(static_cast<std::int32_t>(result.contrast * 65536));
  const auto g = static_cast<std::uint32_t>(static_cast<std::int32_t>(result.brightness * 65536));
  tkw::FixedPointCopy(&x[p], length, result.distance + 1, f, g);
}

void WriteLiteral(TkwBitWriter& writer, WorkingSignal& x, int p) {
  for (int j = 0; j < kLiteralLength; ++j) {
    const std::uint8_t code = quantiser_b::LiteralCode(x[p + j]);
    writer.Put(code, 8);
    x[p + j] = quantiser_b::LiteralValue(code);
  }
}

} // namespace fixed_point_blocks
