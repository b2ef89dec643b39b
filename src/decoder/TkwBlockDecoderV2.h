// Version-2 blocks: 4 table literals or a copy with table contrast and
// brightness in 16.16 fixed point. The version-3 variant reads one more bit
// after the kind bit of a copy block and ignores it.
#pragma once

#include "decoder/TkwBlockDecoder.h"

class TkwBlockDecoderV2 final : public TkwBlockDecoder {
public:
  explicit TkwBlockDecoderV2(std::uint8_t offsetBits, bool copyFlagBit = false)
      : offsetBits_(offsetBits), copyFlagBit_(copyFlagBit) {}

  std::int32_t Decode(std::int16_t* output, TkwBitReader& reader, std::int32_t count) const override;
  std::int32_t SectorLength() const override;
  std::unique_ptr<TkwBlockDecoder> Clone() const override;

  std::uint8_t OffsetBits() const { return offsetBits_; }
  bool HasCopyFlagBit() const { return copyFlagBit_; }

private:
  std::uint8_t offsetBits_;
  bool copyFlagBit_;
};
