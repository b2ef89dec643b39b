// What the converter reads of a .tkw file before packing it: the header
// checks, in the order their messages are reported.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TkwSoundFile {
  static constexpr std::uint32_t kHeaderSize = 28;
  static constexpr std::uint32_t kMinimumSize = 64;

  std::string path;
  std::array<unsigned char, kHeaderSize> header{}; // magic, declared size, codec version, the 16-byte block
  std::uint32_t codecVersion = 0;
  std::uint32_t entryCount = 0;
  std::uint64_t fileSize = 0;

  // Reads and checks the header; throws PC_NotTkwFile or PC_OldTkwFile naming
  // `line` when the file cannot be packed.
  static TkwSoundFile Inspect(const std::string& path, std::int32_t line);

  // Channels 1 or 2, one table entry per channel and sector, distances that
  // fit the decoder's history.
  static bool HasSoundLayout(const unsigned char* header);
  // Chunks of at most 524288 bytes, back to back, ending inside the data area.
  static bool TableFitsData(const std::vector<unsigned char>& table, std::uint64_t dataSize);

  const unsigned char* IndexEntry() const { return header.data() + 12; } // the 16 bytes the archive keeps
  std::uint64_t TableSize() const { return std::uint64_t{entryCount} * 8; }
  std::uint64_t DataSize() const { return fileSize - kHeaderSize - TableSize(); }
};
