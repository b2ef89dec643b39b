#include "format/TkwV2Tables.h"

#include <cmath>

namespace {

TkwV2Tables Build() {
  TkwV2Tables t{};
  t.length = tkw::kV2BlockLengths;
  for (int k = 0; k < 256; ++k)
    t.literal[k] = tkw::V2LiteralValue(static_cast<std::uint8_t>(k));
  for (int k = 0; k < 256; ++k) {
    const int j = k & 127;
    std::int32_t value;
    if (j < 64) {
      // Evaluated in double in the written order so every build rounds alike.
      const double ratio = (63.0 - j) / 63.0;
      value = static_cast<std::int32_t>(std::floor(65536.0 * (1.0 - ratio * ratio)));
    } else {
      value = 65536 + 32 * (j - 64) * (j - 64);
    }
    t.contrast[k] = k >= 128 ? -value : value;
  }
  for (int k = 0; k < 512; ++k) {
    const std::int32_t j = k & 255;
    const std::int32_t value = 16384 * j * j;
    t.brightness[k] = k >= 256 ? -value : value;
  }
  return t;
}

} // namespace

const TkwV2Tables& TkwV2Tables::Get() {
  static const TkwV2Tables tables = Build();
  return tables;
}
