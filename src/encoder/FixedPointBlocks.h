// What versions 2 and 3 share: the size table, copy blocks rebuilt in 16.16
// fixed point exactly as the decoder does, and literal blocks of four
// square-root coded samples.
#pragma once

#include "encoder/SearchResult.h"
#include "encoder/WorkingSignal.h"
#include "format/TkwBitWriter.h"
#include "format/TkwV2Tables.h"

#include <vector>

namespace fixed_point_blocks {

inline constexpr const auto& kSizeTable = tkw::kV2BlockLengths;
inline constexpr int kLiteralLength = tkw::kV2LiteralLength;
inline constexpr int kLargestSize = static_cast<int>(tkw::kV2BlockLengths.size()) - 1;

inline int SmallestSize(int bEncodeMinBits) { return bEncodeMinBits == 1 ? 0 : 1; }
std::vector<int> UsableLengths(int bEncodeMinBits);

void Reconstruct(WorkingSignal& x, int p, int length, const SearchResult& result);
// Puts the four codes and replaces the samples by their coded values.
void WriteLiteral(TkwBitWriter& writer, WorkingSignal& x, int p);

} // namespace fixed_point_blocks
