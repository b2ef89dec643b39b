// A whole .tkw file as readers and writers see it: the header, the sector
// table and where the data area starts. The one reader of the layout (with
// every check that makes a sound safe to decode) and its one writer.
#pragma once

#include "format/TkwHeader.h"
#include "format/TkwSectorTable.h"

#include <cstdint>
#include <vector>

class ByteSource;

struct TkwFileLayout {
  TkwHeaderValues header;
  TkwSectorTable table;
  std::int64_t dataOffset = 0; // absolute offset of the data area
};

// Reads and checks the header and sector table from the source's start;
// leaves the source at the data area. Throws TKW_BadFormat for an unknown
// magic, a declared size larger than the source, a short header or table,
// and every failure of CheckTkwHeaderValues and CheckTkwSectorTable.
// Allocates the table only after its size has been checked against the
// source's size.
TkwFileLayout ReadTkwFileLayout(ByteSource& source);

// The size a header declares: 28 + 8 × entries + the end of the last chunk,
// for both layouts. That is the file's size for "Tkw$" and four bytes less
// for "Tkw@", whose header is 32 bytes: every "Tkw@" file ever written says
// so, and readers only require the declared size not to exceed the file.
std::uint32_t TkwDeclaredSize(const TkwSectorTable& table);

// The header and the sector table, to be written at the start of the file;
// the chunks follow in table order. The format word is the header's
// formatVersion (at offset 8 of "Tkw$", offset 28 of "Tkw@").
std::vector<unsigned char> TkwFileHeaderBytes(const TkwHeaderValues& header, const TkwSectorTable& table);
