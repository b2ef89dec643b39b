#include "decoder/TkwSectorDecoder.h"

#include "decoder/TkwBitReader.h"
#include "decoder/TkwChannelBuffer.h"

#include <algorithm>
#include <array>
#include <cstring>

using namespace tkw;

void TkwSectorDecoder::Prepare() {
  sector_.assign(std::size_t{kSectorLength} * static_cast<std::size_t>(Channels()), 0);
}

void TkwSectorDecoder::Deliver(std::int16_t* destination, std::int64_t frames) {
  const std::size_t channels = static_cast<std::size_t>(Channels());
  std::memcpy(destination, sector_.data() + static_cast<std::size_t>(position_) * channels,
              static_cast<std::size_t>(frames) * channels * sizeof(std::int16_t));
  position_ += static_cast<std::int32_t>(frames);
}

void TkwSectorDecoder::StartSector(RFile& file, const TkwSectorEntry* entries, std::int32_t sectorFrames) {
  // Work buffers live only while a sector is decoded; an idle decoder keeps
  // just its sector buffer.
  const int channels = Channels();
  std::array<std::unique_ptr<TkwChannelBuffer>, kMaxChannels> work;
  {
    TkwBitReader reader;
    for (int c = 0; c < channels; ++c) {
      work[c] = std::make_unique<TkwChannelBuffer>();
      reader.Load(file, entries[c].size);
      Blocks().Decode(work[c]->Sector(), reader, sectorFrames);
    }
  }
  position_ = kSectorLength - sectorFrames;
  std::int16_t* out = sector_.data() + static_cast<std::size_t>(position_) * channels;
  if (channels == 1) {
    std::copy_n(work[0]->Sector(), sectorFrames, out);
    return;
  }
  const std::int16_t* left = work[0]->Sector();
  const std::int16_t* right = work[1]->Sector();
  for (std::int32_t i = 0; i < sectorFrames; ++i) {
    out[2 * i] = left[i];
    out[2 * i + 1] = right[i];
  }
}
