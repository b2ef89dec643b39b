#include "encoder/TkwBlockEncoderV2.h"

#include "encoder/FastSearch.h"
#include "encoder/FixedPointBlocks.h"
#include "encoder/QuantiserB.h"

using namespace fixed_point_blocks;

TkwBlockEncoderV2::TkwBlockEncoderV2(const EncoderSettings& settings, WorkingSignal& signal, ErrorNotice& notice,
                                     const SearchOptions& options)
    : signal_(signal), notice_(notice), destBits_(settings.DestBits), distances_(1 << settings.DestBits),
      smallest_(SmallestSize(settings.bEncodeMinBits)), maxError2_(settings.MaxError2),
      sums_(signal, UsableLengths(settings.bEncodeMinBits), options.workspace), kernel_(options.kernel) {
  for (std::size_t r = 0; r < kSizeTable.size(); ++r)
    margins_[r] = lower_bound::Margin(kSizeTable[r], QuantiserB::kMaxContrast, QuantiserB::kMaxBrightness);
}

bool TkwBlockEncoderV2::Match(int p) { return kernel_ ? MatchFast(p) : MatchPlain(p); }

bool TkwBlockEncoderV2::MatchPlain(int p) {
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

BlockWindow TkwBlockEncoderV2::WindowAt(int p, int r) {
  const int length = kSizeTable[static_cast<std::size_t>(r)];
  sums_.EnsureLength(length, p + length);
  return MakeWindow(sums_, p, length);
}

// MatchPlain over batches of distances; a candidate the bound rejects has an
// error of at least T (LowerBound.h), so the first acceptable distance of
// each length is the same.
bool TkwBlockEncoderV2::MatchFast(int p) {
  int r = smallest_;
  sizeIndex_ = r;
  BlockWindow window = WindowAt(p, r);
  if (window.Sr == 0 && window.Qr == 0) {
    result_ = SearchResult{};
    return true;
  }
  double threshold = ErrorThreshold(window.length, maxError2_);
  BatchInput in = fast_search::MakeInput(signal_, window);
  in.bound = lower_bound::Constant(window, threshold, margins_[static_cast<std::size_t>(r)]);
  bool found = false;
  const QuantiserB quantiser;
  double sigma[kBatchLanes];
  for (int d = window.length / 2; d < distances_;) {
    in.firstDistance = d;
    std::uint32_t lanes = kernel_(in, sigma) & fast_search::LanesBelow(d, distances_);
    int next = d + kBatchLanes;
    while (lanes) {
      const int lane = fast_search::TakeNearest(lanes);
      const SearchResult candidate = fast_search::Evaluate(window, in, lane, sigma, quantiser, notice_);
      if (!(threshold > candidate.error)) continue;
      found = true;
      result_ = candidate;
      sizeIndex_ = r;
      if (r == kLargestSize) return true;
      ++r;
      window = WindowAt(p, r);
      threshold = ErrorThreshold(window.length, maxError2_);
      in = fast_search::MakeInput(signal_, window);
      in.bound = lower_bound::Constant(window, threshold, margins_[static_cast<std::size_t>(r)]);
      // The same distance is tried first at the longer length.
      next = std::max(candidate.distance, window.length / 2);
      break;
    }
    d = next;
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
