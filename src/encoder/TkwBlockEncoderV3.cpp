#include "encoder/TkwBlockEncoderV3.h"

#include "encoder/FixedPointBlocks.h"

using namespace fixed_point_blocks;

namespace {

AdaptiveMatcher<QuantiserB>::Params MatcherParams(const EncoderSettings& s, const SearchOptions& options) {
  AdaptiveMatcher<QuantiserB>::Params params{};
  for (std::size_t r = 0; r < kSizeTable.size(); ++r)
    params.lengthOf[r] = kSizeTable[r];
  params.minSize = SmallestSize(s.bEncodeMinBits);
  params.maxSize = kLargestSize;
  params.startSize = 3;
  params.distances = 1 << s.DestBits;
  params.maxError2 = s.MaxError2;
  params.kernel = options.kernel;
  return params;
}

} // namespace

TkwBlockEncoderV3::TkwBlockEncoderV3(const EncoderSettings& settings, WorkingSignal& signal, ErrorNotice& notice,
                                     const SearchOptions& options)
    : signal_(signal), destBits_(settings.DestBits),
      sums_(signal, UsableLengths(settings.bEncodeMinBits), options.workspace),
      matcher_(signal, sums_, MatcherParams(settings, options), QuantiserB{}, notice) {}

bool TkwBlockEncoderV3::Match(int p) { return matcher_.Match(p); }

void TkwBlockEncoderV3::WriteFields(TkwBitWriter& writer) const {
  const SearchResult& r = matcher_.Result();
  writer.Put(flag_, 1);
  writer.Put(static_cast<std::uint32_t>(matcher_.Size()), 3);
  writer.Put(static_cast<std::uint32_t>(r.distance), destBits_);
  writer.Put(r.contrastCode, 8);
  writer.Put(r.brightnessCode, 9);
}

void TkwBlockEncoderV3::Reconstruct(int p) {
  if (flag_ == 0) fixed_point_blocks::Reconstruct(signal_, p, matcher_.Length(), matcher_.Result());
  sums_.Invalidate(p);
}

int TkwBlockEncoderV3::WriteLiteral(TkwBitWriter& writer, int p) {
  fixed_point_blocks::WriteLiteral(writer, signal_, p);
  sums_.Invalidate(p);
  return kLiteralLength;
}
