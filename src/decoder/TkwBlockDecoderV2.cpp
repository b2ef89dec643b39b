#include "decoder/TkwBlockDecoderV2.h"

#include "decoder/TkwBitReader.h"
#include "decoder/TkwFormat.h"
#include "decoder/TkwV2Tables.h"

std::int32_t TkwBlockDecoderV2::Decode(std::int16_t* output, TkwBitReader& reader, std::int32_t count) const {
  const TkwV2Tables& tables = TkwV2Tables::Get();
  std::int32_t produced = 0;
  while (produced < count) {
    if (reader.Read(1) == 0) {
      for (int i = 0; i < 4; ++i)
        output[produced++] = tables.literal[reader.Read(8)];
      continue;
    }
    if (copyFlagBit_) (void)reader.Read(1); // every block is reconstructed
    const std::int32_t length = tables.length[reader.Read(3)];
    const std::int32_t back = static_cast<std::int32_t>(reader.Read(offsetBits_)) + 1;
    const std::uint32_t contrast = static_cast<std::uint32_t>(tables.contrast[reader.Read(8)]);
    const std::uint32_t brightness = static_cast<std::uint32_t>(tables.brightness[reader.Read(9)]);
    // Sample by sample: a source closer than the block length repeats the
    // block's own fresh samples. The product and sum wrap modulo 2^32.
    std::int16_t* out = output + produced;
    for (std::int32_t i = 0; i < length; ++i) {
      const auto source = static_cast<std::uint32_t>(static_cast<std::int32_t>(out[i - back]));
      const auto value = static_cast<std::int32_t>(source * contrast + brightness);
      out[i] = static_cast<std::int16_t>(value >> 16);
    }
    produced += length;
  }
  return produced;
}

std::int32_t TkwBlockDecoderV2::SectorLength() const { return tkw::kSectorLength; }

std::unique_ptr<TkwBlockDecoder> TkwBlockDecoderV2::Clone() const { return std::make_unique<TkwBlockDecoderV2>(*this); }
