// Version-1 blocks: 16 raw literals or a copy whose contrast and brightness
// are the header's limits scaled by two's-complement codes, in double.
#pragma once

#include "decoder/TkwBlockDecoder.h"

class TkwBlockDecoderV1 final : public TkwBlockDecoder {
public:
  TkwBlockDecoderV1(std::uint16_t contrastLimit, std::uint16_t brightnessLimit, std::uint8_t contrastBits,
                    std::uint8_t brightnessBits, std::uint8_t offsetBits);

  std::int32_t Decode(std::int16_t* output, TkwBitReader& reader, std::int32_t count) const override;
  std::int32_t SectorLength() const override;
  std::unique_ptr<TkwBlockDecoder> Clone() const override;

  // Dequantised values of a contrast or brightness code.
  double Contrast(std::uint32_t code) const;
  double Brightness(std::uint32_t code) const;

private:
  std::uint16_t contrastLimit_;
  std::uint16_t brightnessLimit_;
  std::uint8_t contrastBits_;
  std::uint8_t brightnessBits_;
  std::uint8_t offsetBits_;
};
