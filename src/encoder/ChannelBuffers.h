// The samples of one sector, split into one array per channel. Reading the
// next sector into the same object reuses its memory.
#pragma once

#include "format/TkwFormat.h"

#include <cstdint>
#include <vector>

class RWaveFile;

class ChannelBuffers {
public:
  // The encoder reads one sector at a time.
  static constexpr std::uint32_t kDefaultCapacity = tkw::kSectorLength;

  ChannelBuffers(int channels, std::uint32_t capacity = kDefaultCapacity);

  // Reads `count` frames (at most the capacity) from where the wave's last
  // read stopped and returns how many whole frames arrived; samples a short
  // read did not deliver are 0.
  std::uint32_t Read(RWaveFile& wave, std::uint32_t count);

  const std::int16_t* Channel(int index) const { return samples_[index].data(); }
  int Channels() const { return channels_; }

private:
  int channels_;
  std::vector<std::int16_t> samples_[2];
  std::vector<unsigned char> raw_; // the interleaved bytes, kept for the next read
};
