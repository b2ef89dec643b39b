#include "decoder/TkwBlockDecoderV1.h"

#include "format/TkwBitReader.h"
#include "format/TkwFormat.h"

#include <cmath>

namespace {

// A w-bit code read as a two's-complement number (w = 0 gives 0).
std::int64_t Signed(std::uint32_t code, int bits) {
  if (bits == 0) return 0;
  const std::int64_t value = code;
  return (value >> (bits - 1)) & 1 ? value - (std::int64_t{1} << bits) : value;
}

// limit × x / 2^(w − 1): exact, the limit has 16 bits and x at most 32.
double Dequantise(std::uint16_t limit, std::uint32_t code, int bits) {
  const double scaled = static_cast<double>(limit) * static_cast<double>(Signed(code, bits));
  return scaled / std::ldexp(1.0, bits - 1);
}

} // namespace

TkwBlockDecoderV1::TkwBlockDecoderV1(std::uint16_t contrastLimit, std::uint16_t brightnessLimit,
                                     std::uint8_t contrastBits, std::uint8_t brightnessBits, std::uint8_t offsetBits)
    : contrastLimit_(contrastLimit), brightnessLimit_(brightnessLimit), contrastBits_(contrastBits),
      brightnessBits_(brightnessBits), offsetBits_(offsetBits) {}

double TkwBlockDecoderV1::Contrast(std::uint32_t code) const { return Dequantise(contrastLimit_, code, contrastBits_); }

double TkwBlockDecoderV1::Brightness(std::uint32_t code) const {
  return Dequantise(brightnessLimit_, code, brightnessBits_);
}

std::int32_t TkwBlockDecoderV1::Decode(std::int16_t* output, TkwBitReader& reader, std::int32_t count) const {
  std::int32_t produced = 0;
  while (produced < count) {
    if (reader.Read(1) == 0) {
      for (int i = 0; i < tkw::kV1LiteralLength; ++i)
        output[produced++] = static_cast<std::int16_t>(reader.Read(16));
      continue;
    }
    const std::int32_t length = std::int32_t{4} << reader.Read(3);
    const std::int32_t back = static_cast<std::int32_t>(reader.Read(offsetBits_)) + 1;
    const double contrast = Contrast(reader.Read(contrastBits_));
    const double brightness = Brightness(reader.Read(brightnessBits_));
    std::int16_t* out = output + produced;
    for (std::int32_t i = 0; i < length; ++i) {
      // |s × contrast + brightness| stays below 2^32, so the conversion is
      // exact truncation; only the low 16 bits are kept.
      const double value = static_cast<double>(out[i - back]) * contrast + brightness;
      out[i] = static_cast<std::int16_t>(static_cast<std::int64_t>(value));
    }
    produced += length;
  }
  return produced;
}

std::int32_t TkwBlockDecoderV1::SectorLength() const { return tkw::kSectorLength; }

std::unique_ptr<TkwBlockDecoder> TkwBlockDecoderV1::Clone() const { return std::make_unique<TkwBlockDecoderV1>(*this); }
