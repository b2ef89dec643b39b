#include "encoder/ChannelBuffers.h"

#include "support/ByteOrder.h"
#include "wave/RWaveFile.h"

#include <algorithm>

ChannelBuffers::ChannelBuffers(int channels, std::uint32_t capacity) : channels_(channels) {
  for (int c = 0; c < std::min(channels, 2); ++c)
    samples_[c].assign(capacity, 0);
}

std::uint32_t ChannelBuffers::Read(RWaveFile& wave, std::uint32_t count) {
  if (channels_ != 1 && channels_ != 2) return 0;
  count = std::min<std::uint32_t>(count, static_cast<std::uint32_t>(samples_[0].size()));
  const std::uint32_t frameBytes = 2u * static_cast<std::uint32_t>(channels_);
  std::vector<unsigned char>& bytes = raw_;
  bytes.resize(std::size_t{count} * frameBytes);
  const std::size_t got = wave.Read(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  if (got < bytes.size()) std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(got), bytes.end(), 0);
  const unsigned char* p = bytes.data();
  for (std::uint32_t i = 0; i < count; ++i)
    for (int c = 0; c < channels_; ++c, p += 2)
      samples_[c][i] = static_cast<std::int16_t>(LoadLe16(p));
  return static_cast<std::uint32_t>(got / frameBytes);
}
