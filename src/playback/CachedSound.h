// A sound decoded completely into memory. The samples are shared, so that a
// sound still playing when its cache entry is released stays intact.
#pragma once

#include "tkwDec32.h"

#include <cstdint>
#include <memory>
#include <vector>

struct CachedSound {
  TkwWaveFormat format{};
  std::shared_ptr<const std::vector<std::int16_t>> samples; // frames x channelCount, interleaved
  std::uint32_t frames = 0;
  std::int32_t channelCount = 0;
};
