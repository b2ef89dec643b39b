// The samples of one channel of one sector, preceded by the zero history
// that copy blocks near the sector start read, and followed by the slack a
// last block may run into.
#pragma once

#include "decoder/TkwFormat.h"

#include <cstdint>
#include <vector>

class TkwChannelBuffer {
public:
  static constexpr std::size_t kSize = std::size_t{tkw::kHistoryLength} + tkw::kSectorLength + tkw::kMaxBlockLength;

  TkwChannelBuffer() : samples_(kSize, 0) {}

  // First sample of the sector.
  std::int16_t* Sector() { return samples_.data() + tkw::kHistoryLength; }
  const std::int16_t* Sector() const { return samples_.data() + tkw::kHistoryLength; }

private:
  std::vector<std::int16_t> samples_;
};
