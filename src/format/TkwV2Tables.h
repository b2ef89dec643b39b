// The fixed dequantisation of version-2 (and 3) chunks: block lengths by
// their 3-bit code, literal samples by their 8-bit code, and the contrast
// and brightness tables in 16.16 fixed point.
#pragma once

#include <array>
#include <cstdint>

namespace tkw {

// Samples of a copy block, by its 3-bit length code.
inline constexpr std::array<std::int32_t, 8> kV2BlockLengths = {6, 8, 16, 32, 64, 128, 256, 512};
// Samples of a literal block: four 8-bit codes.
inline constexpr std::int32_t kV2LiteralLength = 4;

// The sample of a literal code k: ±2m² with m = k & 127, negative from 128 on.
constexpr std::int16_t V2LiteralValue(std::uint8_t code) {
  const int m = code & 127;
  const int value = 2 * m * m;
  return static_cast<std::int16_t>((code & 0x80) ? -value : value);
}

} // namespace tkw

struct TkwV2Tables {
  std::array<std::int32_t, 8> length;       // by 3-bit code: 6 … 512 samples
  std::array<std::int16_t, 256> literal;    // by 8-bit code: ±2m²
  std::array<std::int32_t, 256> contrast;   // by 8-bit code, 16.16 fixed point
  std::array<std::int32_t, 512> brightness; // by 9-bit code, sample units × 65536

  // Built once, on first use.
  static const TkwV2Tables& Get();
};
