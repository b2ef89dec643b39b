// The samples of one channel of one sector, preceded by the zero history
// that copy blocks near the sector start read, and followed by the slack a
// last block may run into.
#pragma once

#include "format/TkwFormat.h"

#include <algorithm>
#include <cstdint>
#include <memory>

class TkwChannelBuffer {
public:
  // Room for sectors of up to `sectorFrames` frames: a short sound needs no
  // more than its own length. Only the history is zeroed: every sample after
  // it is written by the decoding before anything reads it.
  explicit TkwChannelBuffer(std::int32_t sectorFrames = tkw::kSectorLength)
      : samples_(new std::int16_t[std::size_t{tkw::kHistoryLength} + static_cast<std::size_t>(sectorFrames) +
                                  tkw::kMaxBlockLength]) {
    std::fill_n(samples_.get(), tkw::kHistoryLength, std::int16_t{0});
  }

  // First sample of the sector.
  std::int16_t* Sector() { return samples_.get() + tkw::kHistoryLength; }
  const std::int16_t* Sector() const { return samples_.get() + tkw::kHistoryLength; }

private:
  std::unique_ptr<std::int16_t[]> samples_;
};
