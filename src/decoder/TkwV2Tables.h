// The four fixed dequantisation tables of version-2 chunks.
#pragma once

#include <array>
#include <cstdint>

struct TkwV2Tables {
  std::array<std::int32_t, 8> length;       // by 3-bit code: 6 … 512 samples
  std::array<std::int16_t, 256> literal;    // by 8-bit code: ±2m²
  std::array<std::int32_t, 256> contrast;   // by 8-bit code, 16.16 fixed point
  std::array<std::int32_t, 512> brightness; // by 9-bit code, sample units × 65536

  // Built once, on first use.
  static const TkwV2Tables& Get();
};
