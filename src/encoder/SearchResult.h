// What a block search found: the coded contrast and brightness (dequantised),
// the squared error of the coded block, the distance and the codes.
#pragma once

#include <cstdint>

struct SearchResult {
  double contrast = 0;
  double brightness = 0;
  double error = 0;
  std::int32_t distance = 0;
  std::uint16_t contrastCode = 0;
  std::uint16_t brightnessCode = 0;
};

// T(L) = L x MaxError2 x MaxError2, formed in 64 bits (saturating) so that
// large tolerances neither wrap nor turn negative.
double ErrorThreshold(int length, std::int32_t maxError2);
