#include "encoder/TkwBlockEncoderV2.h"

#include "encoder/CandidateEvaluator.h"
#include "encoder/FixedPointBlocks.h"
#include "encoder/QuantiserB.h"

using namespace fixed_point_blocks;

TkwBlockEncoderV2::TkwBlockEncoderV2(const EncoderSettings& settings, WorkingSignal& signal, ErrorNotice& notice)
    : signal_(signal), notice_(notice), destBits_(settings.DestBits), distances_(1 << settings.DestBits),
      smallest_(SmallestSize(settings.bEncodeMinBits)), maxError2_(settings.MaxError2),
      sums_(signal, UsableLengths(settings.bEncodeMinBits)) {}

bool TkwBlockEncoderV2::Match(int p) {
  // The growing search may reach the largest length.
  sums_.EnsureUpTo(p + kSizeTable[kLargestSize]);

  int r = smallest_;
  sizeIndex_ = r;
  BlockWindow window = MakeWindow(sums_, p, kSizeTable[static_cast<std::size_t>(r)]);
  if (window.Sr == 0 && window.Qr == 0) {
    result_ = SearchResult{};
    return true;
  }
  double threshold = ErrorThreshold(window.length, maxError2_);
  bool found = false;
  const QuantiserB quantiser;
  for (int d = window.length / 2; d < distances_;) {
    const SearchResult candidate = EvaluateCandidate(signal_, window, d, quantiser, notice_);
    if (!(threshold > candidate.error)) {
      ++d;
      continue;
    }
    found = true;
    result_ = candidate;
    sizeIndex_ = r;
    if (r == kLargestSize) break;
    ++r;
    window = MakeWindow(sums_, p, kSizeTable[static_cast<std::size_t>(r)]);
    threshold = ErrorThreshold(window.length, maxError2_);
    if (d < window.length / 2) d = window.length / 2;
  }
  return found;
}

void TkwBlockEncoderV2::WriteFields(TkwBitWriter& writer) const {
  writer.Put(static_cast<std::uint32_t>(sizeIndex_), 3);
  writer.Put(static_cast<std::uint32_t>(result_.distance), destBits_);
  writer.Put(result_.contrastCode, 8);
  writer.Put(result_.brightnessCode, 9);
}

void TkwBlockEncoderV2::Reconstruct(int p) {
  fixed_point_blocks::Reconstruct(signal_, p, BlockLength(), result_);
  sums_.Invalidate(p);
}

int TkwBlockEncoderV2::BlockLength() const { return kSizeTable[static_cast<std::size_t>(sizeIndex_)]; }

int TkwBlockEncoderV2::WriteLiteral(TkwBitWriter& writer, int p) {
  fixed_point_blocks::WriteLiteral(writer, signal_, p);
  sums_.Invalidate(p);
  return kLiteralLength;
}
