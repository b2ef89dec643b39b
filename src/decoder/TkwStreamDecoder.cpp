#include "decoder/TkwStreamDecoder.h"

#include <algorithm>

void TkwStreamDecoder::Prepare() {
  for (int c = 0; c < Channels(); ++c)
    channels_[c] = std::make_unique<Channel>(LargestChunk(), LongestSector());
}

void TkwStreamDecoder::Discard() {
  sectorFrames_ = 0;
  position_ = 0;
}

std::int64_t TkwStreamDecoder::FramesDecodedAhead() const {
  std::int32_t ready = sectorFrames_;
  for (int c = 0; c < Channels(); ++c)
    ready = std::min(ready, channels_[c]->decoded);
  return std::max(ready - position_, 0);
}

void TkwStreamDecoder::StartSector(ByteSource& source, const TkwSectorEntry* entries, std::int32_t sectorFrames) {
  for (int c = 0; c < Channels(); ++c) {
    channels_[c]->reader.Load(source, entries[c].size);
    channels_[c]->decoded = 0;
  }
  sectorFrames_ = sectorFrames;
  position_ = 0;
}

void TkwStreamDecoder::Deliver(std::int16_t* destination, std::int64_t frames) {
  if (frames <= 0) return; // the destination may be null then
  const auto end = position_ + static_cast<std::int32_t>(frames);
  const int channels = Channels();
  for (int c = 0; c < channels; ++c) {
    Channel& channel = *channels_[c];
    if (channel.decoded < end)
      channel.decoded +=
          Blocks().Decode(channel.samples.Sector() + channel.decoded, channel.reader, end - channel.decoded);
  }
  if (channels == 1) {
    std::copy(channels_[0]->samples.Sector() + position_, channels_[0]->samples.Sector() + end, destination);
  } else {
    const std::int16_t* left = channels_[0]->samples.Sector();
    const std::int16_t* right = channels_[1]->samples.Sector();
    for (std::int32_t i = position_; i < end; ++i) {
      *destination++ = left[i];
      *destination++ = right[i];
    }
  }
  position_ = end;
}
