#include "decoder/TkwDecoder.h"

#include <algorithm>
#include <cstring>

using namespace tkw;

void TkwDecoder::Init(const TkwHeaderValues& header, std::vector<TkwSectorEntry> table,
                      std::unique_ptr<TkwBlockDecoder> blockDecoder) {
  header_ = header;
  table_ = std::move(table);
  blockDecoder_ = std::move(blockDecoder);
  Prepare();
  Rewind();
}

std::int32_t TkwDecoder::LongestSector() const {
  return static_cast<std::int32_t>(std::min<std::uint32_t>(header_.length, kSectorLength));
}

std::uint32_t TkwDecoder::LargestChunk() const {
  std::uint32_t largest = 0;
  for (const TkwSectorEntry& entry : table_)
    largest = std::max(largest, entry.size);
  return largest;
}

void TkwDecoder::Rewind() {
  remaining_ = header_.length;
  sectorFrames_ = static_cast<std::int32_t>(std::min<std::int64_t>(remaining_, kSectorLength));
  nextEntry_ = 0;
  Discard();
}

void TkwDecoder::SelectSector(std::uint32_t sector) {
  remaining_ = std::int64_t{header_.length} - std::int64_t{sector} * kSectorLength;
  sectorFrames_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(remaining_, 0, kSectorLength));
  nextEntry_ = sector * static_cast<std::uint32_t>(header_.channels);
  Discard();
}

void TkwDecoder::BeginNextSector(ByteSource& source) {
  StartSector(source, table_.data() + nextEntry_, sectorFrames_);
  nextEntry_ += static_cast<std::uint32_t>(header_.channels);
  remaining_ -= kSectorLength;
  sectorFrames_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(remaining_, 0, kSectorLength));
}

std::int32_t TkwDecoder::Read(ByteSource& source, std::int16_t* destination, std::uint32_t frames,
                              std::uint32_t* delivered) {
  const std::size_t channels = static_cast<std::size_t>(header_.channels);
  std::int64_t wanted = frames;
  std::int64_t done = 0;
  for (;;) {
    const std::int64_t left = FramesLeftInSector();
    if (wanted <= left) break;
    Deliver(destination + done * channels, left);
    done += left;
    wanted -= left;
    if (!EntriesLeft()) {
      // The sound is over: the rest of the request is silence.
      if (wanted > 0) std::memset(destination + done * channels, 0, static_cast<std::size_t>(wanted) * channels * 2);
      Rewind();
      *delivered = static_cast<std::uint32_t>(done);
      return kStatusEnd;
    }
    BeginNextSector(source);
  }
  Deliver(destination + done * channels, wanted);
  done += wanted;
  *delivered = static_cast<std::uint32_t>(done);
  if (AtEnd()) {
    Rewind();
    return kStatusEnd;
  }
  return kStatusOk;
}

std::uint32_t TkwDecoder::ReadDecoded(std::int16_t* destination, std::uint32_t frames) {
  const std::int64_t count = std::min<std::int64_t>(frames, FramesDecodedAhead());
  Deliver(destination, count);
  // Using up the last sector ends the sound, as a read would.
  if (count > 0 && AtEnd()) Rewind();
  return static_cast<std::uint32_t>(count);
}
