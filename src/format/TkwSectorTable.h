// The sector table of a sound: one entry per channel per sector, ordered
// sector 0 channel 0, sector 0 channel 1, sector 1 channel 0, …; each names
// its chunk by offset from the data area and size. A .tkw file and an
// archive store it alike.
#pragma once

#include <cstdint>
#include <vector>

struct TkwHeaderValues;

struct TkwSectorEntry {
  std::uint32_t offset = 0; // from the first byte of the data area
  std::uint32_t size = 0;   // bytes, at most 524288

  bool operator==(const TkwSectorEntry&) const = default;
};

using TkwSectorTable = std::vector<TkwSectorEntry>;

// Parses `entryCount` 8-byte entries.
TkwSectorTable ParseTkwSectorTable(const unsigned char* bytes, std::uint32_t entryCount);
// Appends the 8-byte entries to `bytes`.
void AppendTkwSectorTable(std::vector<unsigned char>& bytes, const TkwSectorTable& table);

// Where the last chunk ends, counted from the data area (0 for no entries).
std::uint64_t TkwDataEnd(const TkwSectorTable& table);

// Throws TKW_BadFormat unless the table has entryCount entries, every chunk
// holds at most 524288 bytes, chunks lie back to back in table order, and the
// last one ends within `available` bytes counted from the start of the data
// area. Expects header values that passed CheckTkwHeaderValues.
void CheckTkwSectorTable(const TkwHeaderValues& header, const TkwSectorTable& table, std::int64_t available);
