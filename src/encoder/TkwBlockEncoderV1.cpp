#include "encoder/TkwBlockEncoderV1.h"

namespace {

int MinExponent(const EncoderSettings& s) { return s.bEncodeMinBits == 1 ? 2 : 3; }

std::vector<int> UsableLengths(const EncoderSettings& s) {
  std::vector<int> lengths;
  for (int k = MinExponent(s); k <= 9; ++k)
    lengths.push_back(1 << k);
  return lengths;
}

AdaptiveMatcher<TkwBlockEncoderV1::Quantisers>::Params MatcherParams(const EncoderSettings& s,
                                                                     const SearchOptions& options) {
  AdaptiveMatcher<TkwBlockEncoderV1::Quantisers>::Params params{};
  for (int k = 0; k < 10; ++k)
    params.lengthOf[static_cast<std::size_t>(k)] = 1 << k;
  params.minSize = MinExponent(s);
  params.maxSize = 9;
  params.startSize = 4;
  params.distances = 1 << s.DestBits;
  params.maxError2 = s.MaxError2;
  params.kernel = options.kernel;
  return params;
}

} // namespace

TkwBlockEncoderV1::TkwBlockEncoderV1(const EncoderSettings& settings, WorkingSignal& signal, ErrorNotice& notice,
                                     const SearchOptions& options)
    : signal_(signal), destBits_(settings.DestBits), contrastBits_(settings.ContrastBits),
      brightnessBits_(settings.BrightnessBits), sums_(signal, UsableLengths(settings), options.workspace),
      matcher_(signal, sums_, MatcherParams(settings, options),
               Quantisers{QuantiserA(settings.ContrastBits, settings.MaxContrast),
                          QuantiserA(settings.BrightnessBits, settings.MaxBrightness)},
               notice) {}

bool TkwBlockEncoderV1::Match(int p) { return matcher_.Match(p); }

void TkwBlockEncoderV1::WriteFields(TkwBitWriter& writer) const {
  const SearchResult& r = matcher_.Result();
  writer.Put(static_cast<std::uint32_t>(matcher_.Size() - 2), 3);
  writer.Put(static_cast<std::uint32_t>(r.distance), destBits_);
  writer.Put(r.contrastCode, contrastBits_);
  writer.Put(r.brightnessCode, brightnessBits_);
}

void TkwBlockEncoderV1::Reconstruct(int p) {
  const SearchResult& r = matcher_.Result();
  const int length = matcher_.Length();
  for (int j = 0; j < length; ++j) {
    const double s = signal_[p + j - r.distance - 1];
    const auto value = static_cast<std::int64_t>(s * r.contrast + r.brightness);
    signal_[p + j] = static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
  }
  sums_.Invalidate(p);
}

int TkwBlockEncoderV1::WriteLiteral(TkwBitWriter& writer, int p) {
  // Exact samples: the working signal does not change, the sums stay valid.
  for (int j = 0; j < kLiteralLength; ++j)
    writer.Put(static_cast<std::uint16_t>(signal_[p + j]), 16);
  return kLiteralLength;
}
