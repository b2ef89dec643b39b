// The copy blocks of versions 2 and 3 in 16.16 fixed point. The decoder
// produces samples with these and the encoder rebuilds its working signal
// with them, so both hold exactly the same samples.
#pragma once

#include <cstdint>

namespace tkw {

// (s × contrast + brightness) >> 16: the product and the sum wrap modulo
// 2^32 (a contrast above 1.0 times a loud sample overflows), the shift is
// arithmetic, and the low 16 bits are kept.
inline std::int16_t FixedPointSample(std::int16_t source, std::uint32_t contrast, std::uint32_t brightness) {
  const auto s = static_cast<std::uint32_t>(static_cast<std::int32_t>(source));
  const auto value = static_cast<std::int32_t>(s * contrast + brightness);
  return static_cast<std::int16_t>(value >> 16);
}

// A copy block of `length` samples at `out` from the samples `back` places
// before each: sample by sample, so a source closer than the length repeats
// the block's own fresh samples.
inline void FixedPointCopy(std::int16_t* out, std::int32_t length, std::int32_t back, std::uint32_t contrast,
                           std::uint32_t brightness) {
  for (std::int32_t i = 0; i < length; ++i)
    out[i] = FixedPointSample(out[i - back], contrast, brightness);
}

} // namespace tkw
