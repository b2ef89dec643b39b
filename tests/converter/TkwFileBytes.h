// Small "Tkw$" files for the converter's tests: a valid header, a sector table
// and data bytes (the converter copies chunks without decoding them).
#pragma once

#include "format/TkwFileLayout.h"

#include <algorithm>
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

// The layout as a "Tkw$" file; another magic makes a file of another kind.
inline std::vector<std::uint8_t> MakeTkwBytes(const TkwBytesLayout& layout, const char* magic = "Tkw$") {
  TkwHeaderValues header = MakeTkwHeaderValues(layout.codecVersion, layout.length, layout.sampleRate, layout.channels);
  header.layout = TkwLayout::V2;
  header.offsetBits = layout.offsetBits;
  // The table may name another number of chunks than the length needs.
  header.entryCount = static_cast<std::uint32_t>(layout.chunkSizes.size());
  TkwSectorTable table;
  std::uint32_t offset = 0;
  for (std::uint32_t size : layout.chunkSizes) {
    table.push_back({offset, size});
    offset += size;
  }
  std::vector<std::uint8_t> bytes = TkwFileHeaderBytes(header, table);
  std::copy(magic, magic + 4, bytes.begin());
  for (std::uint32_t i = 0; i < offset; ++i)
    bytes.push_back(static_cast<std::uint8_t>(layout.fill + i));
  return bytes;
}

} // namespace testutil
