// Decodes a whole sector of every channel when its first frame is needed and
// hands out interleaved copies from its sector buffer.
#pragma once

#include "decoder/TkwChannelBuffer.h"
#include "decoder/TkwDecoder.h"
#include "format/TkwBitReader.h"

#include <array>
#include <memory>

class TkwSectorDecoder final : public TkwDecoder {
protected:
  std::int64_t FramesLeftInSector() const override { return capacity_ - position_; }
  std::int64_t FramesDecodedAhead() const override { return FramesLeftInSector(); }
  void Deliver(std::int16_t* destination, std::int64_t frames) override;
  void StartSector(ByteSource& source, const TkwSectorEntry* entries, std::int32_t sectorFrames) override;
  void Discard() override { position_ = capacity_; }
  void Prepare() override;

private:
  // Interleaved frames of the longest sector of the sound; a shorter sector
  // sits at the end, so position capacity_ always means "used up". Frames
  // are read only after a sector was decoded into them, so the buffer is
  // not zeroed.
  std::unique_ptr<std::int16_t[]> sector_;
  std::int32_t capacity_ = 0;
  std::int32_t position_ = 0;
  // Scratch of the sector being decoded: one chunk at a time, one channel
  // buffer (zero history, samples, slack) per channel.
  std::unique_ptr<TkwBitReader> reader_;
  std::array<std::unique_ptr<TkwChannelBuffer>, tkw::kMaxChannels> work_;
};
