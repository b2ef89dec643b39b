// Version 1 blocks: lengths 2^k, linear codes from the settings, literal
// blocks of 16 exact samples, best fit over all distances.
#pragma once

#include "encoder/AdaptiveMatcher.h"
#include "encoder/BlockEncoder.h"
#include "encoder/EncoderSettings.h"
#include "encoder/QuantiserA.h"
#include "format/TkwFormat.h"

class TkwBlockEncoderV1 : public BlockEncoder {
public:
  static constexpr int kLiteralLength = tkw::kV1LiteralLength;

  TkwBlockEncoderV1(const EncoderSettings& settings, WorkingSignal& signal, ErrorNotice& notice,
                    const SearchOptions& options = {});

  bool Match(int p) override;
  void WriteFields(TkwBitWriter& writer) const override;
  void Reconstruct(int p) override;
  int BlockLength() const override { return matcher_.Length(); }
  int WriteLiteral(TkwBitWriter& writer, int p) override;

  const SearchResult& Result() const { return matcher_.Result(); }

  struct Quantisers {
    QuantiserA contrast;
    QuantiserA brightness;
    std::uint16_t ContrastCode(double v, double* coded) const { return contrast.Code(v, coded); }
    std::uint16_t BrightnessCode(double v, double* coded) const { return brightness.Code(v, coded); }
    double MaxContrast() const { return contrast.Limit(); }
    double MaxBrightness() const { return brightness.Limit(); }
  };

private:
  WorkingSignal& signal_;
  int destBits_;
  int contrastBits_;
  int brightnessBits_;
  WindowSums sums_;
  AdaptiveMatcher<Quantisers> matcher_;
};
