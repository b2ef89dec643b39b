#include "encoder/QuantiserB.h"

#include "format/TkwV2Tables.h"

#include <cmath>
#include <cstdlib>

namespace quantiser_b {

using detail::TruncatedAtMost;

std::uint8_t LiteralCode(std::int16_t sample) {
  const std::int32_t magnitude = std::abs(static_cast<std::int32_t>(sample));
  const std::uint32_t m = TruncatedAtMost(std::sqrt(magnitude * 0.5), 127);
  return static_cast<std::uint8_t>((sample < 0 ? 0x80 : 0) | m);
}

std::int16_t LiteralValue(std::uint8_t code) { return tkw::V2LiteralValue(code); }

} // namespace quantiser_b
