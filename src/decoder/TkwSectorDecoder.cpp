#include "decoder/TkwSectorDecoder.h"

#include "decoder/TkwChannelBuffer.h"
#include "format/TkwBitReader.h"

#include <algorithm>
#include <cstring>

using namespace tkw;

void TkwSectorDecoder::Prepare() {
  capacity_ = LongestSector();
  position_ = capacity_;
  sector_.reset(new std::int16_t[std::size_t(std::max(capacity_, 1)) * static_cast<std::size_t>(Channels())]);
}

void TkwSectorDecoder::Deliver(std::int16_t* destination, std::int64_t frames) {
  if (frames <= 0) return; // the destination may be null then
  const std::size_t channels = static_cast<std::size_t>(Channels());
  std::memcpy(destination, sector_.get() + static_cast<std::size_t>(position_) * channels,
              static_cast<std::size_t>(frames) * channels * sizeof(std::int16_t));
  position_ += static_cast<std::int32_t>(frames);
}

void TkwSectorDecoder::StartSector(ByteSource& source, const TkwSectorEntry* entries, std::int32_t sectorFrames) {
  // The work buffers are made at the first decode and kept: allocating them
  // for every sector costs more than decoding it. Their history part is never
  // written, so it stays zero.
  const int channels = Channels();
  if (!reader_) reader_ = std::make_unique<TkwBitReader>(LargestChunk());
  for (int c = 0; c < channels; ++c) {
    if (!work_[c]) work_[c] = std::make_unique<TkwChannelBuffer>(capacity_);
    reader_->Load(source, entries[c].size);
    Blocks().Decode(work_[c]->Sector(), *reader_, sectorFrames);
  }
  position_ = capacity_ - sectorFrames;
  std::int16_t* out = sector_.get() + static_cast<std::size_t>(position_) * channels;
  if (channels == 1) {
    std::copy_n(work_[0]->Sector(), sectorFrames, out);
    return;
  }
  const std::int16_t* left = work_[0]->Sector();
  const std::int16_t* right = work_[1]->Sector();
  for (std::int32_t i = 0; i < sectorFrames; ++i) {
    out[2 * i] = left[i];
    out[2 * i + 1] = right[i];
  }
}
