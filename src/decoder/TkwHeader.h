// The values a sound's header carries and the checks that make a sound safe
// to decode. A .tkw file and an archive entry both produce a TkwHeaderValues
// and a sector table; CheckTkwSound then proves that every chunk the table
// names lies inside the bytes available, so the decoders never need to check.
#pragma once

#include "decoder/TkwFormat.h"

#include <cstdint>
#include <memory>
#include <vector>

class RFile;
class TkwBlockDecoder;

enum class TkwLayout : std::uint8_t {
  V1, // "Tkw@": quantiser settings in the header, linear dequantisation
  V2, // "Tkw$": fixed widths and tables
};

struct TkwSectorEntry {
  std::uint32_t offset = 0; // from the first byte of the data area
  std::uint32_t size = 0;   // bytes, at most 524288
};

struct TkwHeaderValues {
  TkwLayout layout = TkwLayout::V2;
  // 1 for "Tkw@"; for "Tkw$" the word at offset 8: 2, or 3 for copy blocks
  // with an extra flag bit (TkwFormatVersion; other words are refused).
  std::uint32_t formatVersion = 2;
  std::uint32_t length = 0; // frames per channel
  std::uint32_t sampleRate = 0;
  std::uint32_t entryCount = 0; // channels × sector count
  std::uint8_t channels = 0;
  std::uint8_t offsetBits = 0;
  // Version 1 only.
  std::uint16_t contrastLimit = 0;
  std::uint16_t brightnessLimit = 0;
  std::uint8_t contrastBits = 0;
  std::uint8_t brightnessBits = 0;

  // 1, 2 or 3: the block syntax the chunks follow.
  std::uint32_t CodecVersion() const;
  std::uint32_t SectorCount() const { return channels == 0 ? 0 : entryCount / channels; }
  // Bytes of the file header before the sector table.
  std::uint32_t HeaderSize() const { return layout == TkwLayout::V1 ? tkw::kHeaderSizeV1 : tkw::kHeaderSizeV2; }

  // The 20 bytes of a version-1 file from offset 8 up to 28 (the form an
  // archive index keeps).
  static TkwHeaderValues FromV1Fields(const unsigned char* fields);
  // The 16 bytes of a version-2 file from offset 12 up to 28, with the codec
  // version word that goes with them.
  static TkwHeaderValues FromV2Fields(const unsigned char* fields, std::uint32_t formatVersion);
};

// Throws TKW_BadFormat unless: a "Tkw$" format version that is known
// (TkwFormatVersion); channels 1 or 2; entry count = channels ×
// ceil(length / 131072); offset bits at most 14; version-1 field widths at
// most 32.
void CheckTkwHeaderValues(const TkwHeaderValues& header);

// Throws TKW_BadFormat unless the table has entryCount entries, every chunk
// holds at most 524288 bytes, chunks lie back to back in table order, and the
// last one ends within `available` bytes counted from the start of the data
// area. Expects header values that passed CheckTkwHeaderValues.
void CheckTkwSectorTable(const TkwHeaderValues& header, const std::vector<TkwSectorEntry>& table,
                         std::int64_t available);

// Parses the 8-byte entries of a sector table.
std::vector<TkwSectorEntry> ParseTkwSectorTable(const unsigned char* bytes, std::uint32_t entryCount);

struct TkwFileLayout {
  TkwHeaderValues header;
  std::vector<TkwSectorEntry> table;
  std::int64_t dataOffset = 0; // absolute offset of the data area
};

// Reads and checks the header and sector table of a .tkw file from its start;
// leaves the file at the data area. Throws TKW_BadFormat for an unknown magic,
// a declared size larger than the file, a short header or table, and every
// failure of the two checks above. Allocates the table only after its size
// has been checked against the file's size.
TkwFileLayout ReadTkwFileLayout(RFile& file);

// A block decoder of the version the header names, with its parameters.
std::unique_ptr<TkwBlockDecoder> MakeTkwBlockDecoder(const TkwHeaderValues& header);
