// The front of a .tkr archive: the 16-byte header, in layout 2 the codec
// version word, then the sound numbers, the header fields of each sound's
// .tkw file (20 bytes for "Tkw@" sounds, 16 for "Tkw$" ones), the offsets of
// their data areas, and the sector tables of all sounds in order. The data
// areas follow. One parser, with every check that keeps each sound inside
// the archive, and one serialiser.
#pragma once

#include "format/TkrHeader.h"
#include "format/TkwHeader.h"
#include "format/TkwSectorTable.h"

#include <cstdint>
#include <string_view>
#include <vector>

class ByteSource;

struct TkrIndexEntry {
  std::uint32_t number = 0;
  TkwHeaderValues header;
  TkwSectorTable table;
  std::uint32_t dataOffset = 0; // absolute offset of the sound's data area

  bool operator==(const TkrIndexEntry&) const = default;
};

struct TkrIndex {
  // Layout, total length and check word; the count is that of the entries.
  TkrHeader header;
  // Layout 2: the format word of every sound ("Tkw$": 2 or 3; "Tkw@": 1).
  // Layout 1 has no such word and holds "Tkw@" sounds only.
  std::uint32_t codecVersion = 2;
  std::vector<TkrIndexEntry> entries;

  // Bytes from the start of the archive to the end of the index, where the
  // first data area may begin.
  std::uint64_t Size() const;
  // The header and the index, to be written at the start of the archive.
  // Throws std::invalid_argument when an entry's layout does not match the
  // codec version or there are more entries than the 16-bit count holds.
  std::vector<unsigned char> Bytes() const;

  // The layout the index entries have: "Tkw@" fields for layout 1 and
  // codec version 1, "Tkw$" fields for the known versions.
  bool HoldsV1Sounds() const { return header.layout == 1 || codecVersion == 1; }
};

// Reads the header and the index from the start of the source. Throws
// TKR_BadFormat for anything that is not an archive or does not fit the
// source (every sound's header values and sector table are checked, and its
// data must lie between the end of the index and the archive's total
// length), TKR_BadPassword when the check word does not match the password
// (empty: none). Allocates only what the archive's length can hold.
TkrIndex ReadTkrIndex(ByteSource& source, std::string_view password);
