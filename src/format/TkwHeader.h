// The values a sound's header carries and the checks that make a sound safe
// to decode. A .tkw file and an archive entry both hold them: the archive
// keeps the header fields of each sound it packs (20 bytes of a "Tkw@"
// file, 16 of a "Tkw$" file) and one format word for all.
#pragma once

#include "format/TkwFormat.h"

#include <array>
#include <cstdint>

enum class TkwLayout : std::uint8_t {
  V1, // "Tkw@": quantiser settings in the header, linear dequantisation
  V2, // "Tkw$": fixed widths and tables
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
  // Version 2 only: written as 0 and ignored, but kept, so that what is
  // parsed is stored again byte for byte.
  std::array<std::uint8_t, 2> reserved{};

  // 1, 2 or 3: the block syntax the chunks follow.
  std::uint32_t CodecVersion() const;
  std::uint32_t SectorCount() const { return channels == 0 ? 0 : entryCount / channels; }
  // Bytes of the file header before the sector table.
  std::uint32_t HeaderSize() const { return layout == TkwLayout::V1 ? tkw::kHeaderSizeV1 : tkw::kHeaderSizeV2; }
  // Bytes of the header fields an archive keeps.
  std::uint32_t FieldsSize() const { return layout == TkwLayout::V1 ? tkw::kFieldsSizeV1 : tkw::kFieldsSizeV2; }

  // The 20 bytes of a version-1 file from offset 8 up to 28.
  static TkwHeaderValues FromV1Fields(const unsigned char* fields);
  // The 16 bytes of a version-2 file from offset 12 up to 28, with the
  // format word that goes with them.
  static TkwHeaderValues FromV2Fields(const unsigned char* fields, std::uint32_t formatVersion);
  // Stores FieldsSize() bytes: the inverse of the two above.
  void StoreFields(unsigned char* fields) const;

  bool operator==(const TkwHeaderValues&) const = default;
};

// The header values of a sound of `length` frames of `channels` channels:
// the entry count follows from them.
TkwHeaderValues MakeTkwHeaderValues(std::uint32_t codecVersion, std::uint32_t length, std::uint32_t sampleRate,
                                    std::uint8_t channels);

// Throws TKW_BadFormat unless: a "Tkw$" format version that is known
// (TkwFormatVersion); channels 1 or 2; entry count = channels ×
// ceil(length / 131072); offset bits at most 14; version-1 field widths at
// most 32.
void CheckTkwHeaderValues(const TkwHeaderValues& header);
