// Decodes on demand: each channel keeps its chunk open in a bit reader and
// its sector's samples (with the history copy blocks read) in a buffer, and
// every request decodes only the blocks it needs. Samples a block produced
// beyond a request stay in the buffer for the next one.
#pragma once

#include "decoder/TkwChannelBuffer.h"
#include "decoder/TkwDecoder.h"
#include "format/TkwBitReader.h"

#include <array>

class TkwStreamDecoder final : public TkwDecoder {
protected:
  std::int64_t FramesLeftInSector() const override { return sectorFrames_ - position_; }
  std::int64_t FramesDecodedAhead() const override;
  void Deliver(std::int16_t* destination, std::int64_t frames) override;
  void StartSector(ByteSource& source, const TkwSectorEntry* entries, std::int32_t sectorFrames) override;
  void Discard() override;
  void Prepare() override;

private:
  struct Channel {
    Channel(std::uint32_t chunkBytes, std::int32_t sectorFrames) : reader(chunkBytes), samples(sectorFrames) {}
    TkwBitReader reader;
    TkwChannelBuffer samples;
    std::int32_t decoded = 0; // samples of the sector decoded so far
  };

  std::array<std::unique_ptr<Channel>, tkw::kMaxChannels> channels_;
  std::int32_t sectorFrames_ = 0; // frames of the current sector
  std::int32_t position_ = 0;     // frames of it delivered
};
