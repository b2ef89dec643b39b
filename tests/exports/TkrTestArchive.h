// Builds .tkr archives for the index tests from .tkw file bytes, in every
// layout the reader accepts (the converter writes only layout 2).
#pragma once

#include "support/ByteOrder.h"
#include "support/TkrHeader.h"

#include <cstdint>
#include <cstring>
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
  auto put32 = [](std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
      out.push_back(static_cast<std::uint8_t>(value >> shift));
  };
  const bool v1 = !sounds.empty() && std::memcmp(sounds[0].tkw.data(), "Tkw@", 4) == 0;
  const std::size_t entryStart = v1 ? 8 : 12;
  const std::size_t tableStart = v1 ? 32 : 28;
  std::vector<std::uint8_t> numbers, entries, offsets, tables, data;
  std::uint32_t tableEntries = 0;
  for (const TkrTestEntry& sound : sounds) {
    const std::uint32_t count = LoadLe32(&sound.tkw[20 - (v1 ? 4 : 0)]);
    tableEntries += count;
  }
  const std::uint32_t indexSize =
      16 + (layout == 2 ? 4 : 0) + static_cast<std::uint32_t>(sounds.size()) * (v1 ? 28 : 24) + 8 * tableEntries;
  for (const TkrTestEntry& sound : sounds) {
    const std::uint32_t count = LoadLe32(&sound.tkw[20 - (v1 ? 4 : 0)]);
    put32(numbers, sound.number);
    entries.insert(entries.end(), sound.tkw.begin() + static_cast<std::ptrdiff_t>(entryStart), sound.tkw.begin() + 28);
    put32(offsets, indexSize + static_cast<std::uint32_t>(data.size()));
    const auto table = sound.tkw.begin() + static_cast<std::ptrdiff_t>(tableStart);
    tables.insert(tables.end(), table, table + 8 * count);
    data.insert(data.end(), table + 8 * count, sound.tkw.end());
  }
  TkrHeader header;
  header.totalLength = indexSize + static_cast<std::uint32_t>(data.size());
  header.checkWord = TkrHeader::CheckWord(header.totalLength, password);
  header.layout = layout;
  header.count = static_cast<std::uint16_t>(sounds.size());
  std::vector<std::uint8_t> out(16);
  header.Store(out.data());
  if (layout == 2) put32(out, v1 ? 1 : (sounds.empty() ? 2 : LoadLe32(&sounds[0].tkw[8])));
  for (const auto* part : {&numbers, &entries, &offsets, &tables, &data})
    out.insert(out.end(), part->begin(), part->end());
  return out;
}

} // namespace testutil
