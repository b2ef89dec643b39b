// What versions 2 and 3 share: the size table, copy blocks rebuilt in 16.16
// fixed point exactly as the decoder does, and literal blocks of four
// square-root coded samples.
#pragma once

#include "encoder/SearchResult.h"
#include "encoder/TkwBitWriter.h"
#include "encoder/WorkingSignal.h"

#include <array>
#include <vector>

namespace fixed_point_blocks {

inline constexpr std::array<int, 8> kSizeTable = {6, 8, 16, 32, 64, 128, 256, 512};
inline constexpr int kLiteralLength = 4;
inline constexpr int kLargestSize = 7;

inline int SmallestSize(int bEncodeMinBits) { return bEncodeMinBits == 1 ? 0 : 1; }
std::vector<int> UsableLengths(int bEncodeMinBits);

void Reconstruct(WorkingSignal& x, int p, int length, const SearchResult& result);
// Puts the four codes and replaces the samples by their coded values.
void WriteLiteral(TkwBitWriter& writer, WorkingSignal& x, int p);

} // namespace fixed_point_blocks
