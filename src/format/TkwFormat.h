// Constants of the encoded sound format (.tkw), shared by its readers and
// writers, and of the archives (.tkr) that store the same sector tables and
// chunks.
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
// Samples of a version-1 literal block: sixteen 16-bit codes.
inline constexpr std::int32_t kV1LiteralLength = 16;

inline constexpr char kMagicV1[4] = {'T', 'k', 'w', '@'};
inline constexpr char kMagicV2[4] = {'T', 'k', 'w', '$'};
// Bytes before the sector table.
inline constexpr std::uint32_t kHeaderSizeV1 = 32;
inline constexpr std::uint32_t kHeaderSizeV2 = 28;
// Where the declared size sits in both headers.
inline constexpr std::uint32_t kDeclaredSizeOffset = 4;
// Where the format-version word of a "Tkw$" file sits.
inline constexpr std::uint32_t kFormatWordOffsetV2 = 8;
// The header fields an archive keeps for each sound: bytes 8 to 27 of a
// "Tkw@" file, bytes 12 to 27 of a "Tkw$" file.
inline constexpr std::uint32_t kFieldsOffsetV1 = 8;
inline constexpr std::uint32_t kFieldsOffsetV2 = 12;
inline constexpr std::uint32_t kFieldsSizeV1 = 20;
inline constexpr std::uint32_t kFieldsSizeV2 = 16;
inline constexpr std::uint32_t kTableEntrySize = 8;

// Number of sectors of a sound of `length` frames.
inline constexpr std::uint32_t SectorCount(std::uint32_t length) {
  return length / kSectorLength + (length % kSectorLength != 0 ? 1u : 0u);
}

// Frames of sector `sector` of a sound of `length` frames (0 past the end).
inline constexpr std::int32_t SectorFrames(std::uint32_t length, std::uint32_t sector) {
  const std::uint64_t start = std::uint64_t{sector} * kSectorLength;
  if (start >= length) return 0;
  const std::uint64_t left = length - start;
  return static_cast<std::int32_t>(left < std::uint64_t{kSectorLength} ? left : std::uint64_t{kSectorLength});
}

} // namespace tkw
