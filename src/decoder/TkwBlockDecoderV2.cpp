#include "decoder/TkwBlockDecoderV2.h"

#include "format/TkwBitReader.h"
#include "format/TkwFixedPoint.h"
#include "format/TkwFormat.h"
#include "format/TkwV2Tables.h"

std::int32_t TkwBlockDecoderV2::Decode(std::int16_t* output, TkwBitReader& reader, std::int32_t count) const {
  const TkwV2Tables& tables = TkwV2Tables::Get();
  std::int32_t produced = 0;
  while (produced < count) {
    if (reader.Read(1) == 0) {
      for (int i = 0; i < tkw::kV2LiteralLength; ++i)
        output[produced++] = tables.literal[reader.Read(8)];
      continue;
    }
    if (copyFlagBit_) (void)reader.Read(1); // every block is reconstructed
    const std::int32_t length = tables.length[reader.Read(3)];
    const std::int32_t back = static_cast<std::int32_t>(reader.Read(offsetBits_)) + 1;
    const std::uint32_t contrast = static_cast<std::uint32_t>(tables.contrast[reader.Read(8)]);
    const std::uint32_t brightness = static_cast<std::uint32_t>(tables.brightness[reader.Read(9)]);
    tkw::FixedPointCopy(output + produced, length, back, contrast, brightness);
    produced += length;
  }
  return produced;
}

std::int32_t TkwBlockDecoderV2::SectorLength() const { return tkw::kSectorLength; }

std::unique_ptr<TkwBlockDecoder> TkwBlockDecoderV2::Clone() const { return std::make_unique<TkwBlockDecoderV2>(*this); }
