// Builds .tkr archives for the index tests from .tkw file bytes, in every
// layout the reader accepts (the converter writes only layout 2).
#pragma once

#include "format/TkrIndex.h"
#include "format/TkwFileLayout.h"
#include "support/MemoryByteSource.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace testutil {

struct TkrTestEntry {
  std::uint32_t number = 0;
  std::vector<std::uint8_t> tkw; // a whole "Tkw$" or "Tkw@" file
};

// Layout 2 stores the codec version word of the first sound ("Tkw@" sounds
// give 1); layout 1 has no such word and holds "Tkw@" sounds only.
inline std::vector<std::uint8_t> BuildTkrArchive(const std::vector<TkrTestEntry>& sounds,
                                                 std::string_view password = {}, std::uint16_t layout = 2) {
  TkrIndex index;
  index.header.layout = layout;
  std::vector<std::vector<std::uint8_t>> data;
  for (const TkrTestEntry& sound : sounds) {
    MemoryByteSource source(sound.tkw.data(), sound.tkw.size());
    const TkwFileLayout file = ReadTkwFileLayout(source);
    index.entries.push_back({sound.number, file.header, file.table, 0});
    data.emplace_back(sound.tkw.begin() + file.dataOffset, sound.tkw.end());
  }
  if (!index.entries.empty()) index.codecVersion = index.entries.front().header.formatVersion;
  auto offset = static_cast<std::uint32_t>(index.Size());
  for (std::size_t i = 0; i < data.size(); ++i) {
    index.entries[i].dataOffset = offset;
    offset += static_cast<std::uint32_t>(data[i].size());
  }
  index.header.totalLength = offset;
  index.header.checkWord = TkrHeader::CheckWord(offset, password);
  std::vector<std::uint8_t> out = index.Bytes();
  for (const auto& part : data)
    out.insert(out.end(), part.begin(), part.end());
  return out;
}

} // namespace testutil
