// Small "Tkw$" files for the converter's tests: a valid header, a sector table
// and data bytes (the converter copies chunks without decoding them).
#pragma once

#include "support/ByteOrder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testutil {

struct TkwBytesLayout {
  std::uint32_t codecVersion = 2;
  std::uint32_t length = 1000;
  std::uint32_t sampleRate = 22050;
  std::uint8_t channels = 1;
  std::uint8_t offsetBits = 10;
  std::vector<std::uint32_t> chunkSizes{40}; // one sector-table entry per chunk
  std::uint8_t fill = 0x11;                  // first data byte; later ones count up
};

inline std::vector<std::uint8_t> MakeTkwBytes(const TkwBytesLayout& layout, const char* magic = "Tkw$") {
  std::uint32_t dataSize = 0;
  for (std::uint32_t size : layout.chunkSizes)
    dataSize += size;
  const std::uint32_t entries = static_cast<std::uint32_t>(layout.chunkSizes.size());
  std::vector<std::uint8_t> bytes(28 + 8 * entries + dataSize);
  std::copy(magic, magic + 4, bytes.begin());
  StoreLe32(&bytes[4], static_cast<std::uint32_t>(bytes.size()));
  StoreLe32(&bytes[8], layout.codecVersion);
  StoreLe32(&bytes[12], layout.length);
  StoreLe32(&bytes[16], layout.sampleRate);
  StoreLe32(&bytes[20], entries);
  bytes[24] = layout.channels;
  bytes[25] = layout.offsetBits;
  std::uint32_t offset = 0;
  for (std::uint32_t i = 0; i < entries; ++i) {
    StoreLe32(&bytes[28 + 8 * i], offset);
    StoreLe32(&bytes[32 + 8 * i], layout.chunkSizes[i]);
    offset += layout.chunkSizes[i];
  }
  for (std::uint32_t i = 0; i < dataSize; ++i)
    bytes[28 + 8 * entries + i] = static_cast<std::uint8_t>(layout.fill + i);
  return bytes;
}

} // namespace testutil
