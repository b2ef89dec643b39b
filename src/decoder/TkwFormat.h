// Constants of the encoded sound format shared by its readers and writers.
#pragma once

#include <cstdint>

namespace tkw {

// Frames per sector; every sector but the last holds exactly this many.
inline constexpr std::int32_t kSectorLength = 131072;
// A chunk is read into a buffer of this many bytes.
inline constexpr std::uint32_t kMaxChunkSize = 524288;
// Zero samples kept ahead of each sector: covers every distance up to 16383.
inline constexpr std::int32_t kHistoryLength = 16384;
// The longest block; decoding may run this far past a requested count.
inline constexpr std::int32_t kMaxBlockLength = 512;
// Distances wider than this would reach before the zero history.
inline constexpr std::uint8_t kMaxOffsetBits = 14;
// Widest version-1 contrast or brightness field the bit reader can deliver.
inline constexpr std::uint8_t kMaxFieldBits = 32;
inline constexpr std::int32_t kMaxChannels = 2;

inline constexpr char kMagicV1[4] = {'T', 'k', 'w', '@'};
inline constexpr char kMagicV2[4] = {'T', 'k', 'w', '$'};
inline constexpr std::uint32_t kHeaderSizeV1 = 32;
inline constexpr std::uint32_t kHeaderSizeV2 = 28;
inline constexpr std::uint32_t kTableEntrySize = 8;

// Number of sectors of a sound of `length` frames.
inline constexpr std::uint32_t SectorCount(std::uint32_t length) {
  return length / kSectorLength + (length % kSectorLength != 0 ? 1u : 0u);
}

} // namespace tkw
