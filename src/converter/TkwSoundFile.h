// What the converter reads of a .tkw file before packing it: the header
// checks, in the order their messages are reported, then the layout as the
// format's reader reads and checks it, so that every sound the converter
// packs is one the library opens.
#pragma once

#include "format/TkwFileLayout.h"
#include "format/TkwFormat.h"

#include <array>
#include <cstdint>
#include <string>

class ByteSource;

struct TkwSoundFile {
  static constexpr std::uint32_t kMinimumSize = 64;

  std::string path;
  TkwFileLayout layout;
  // The header as read: the file must still hold it when it is packed.
  std::array<unsigned char, tkw::kHeaderSizeV2> header{};
  std::uint64_t fileSize = 0;

  // Reads and checks the file; throws PC_NotTkwFile or PC_OldTkwFile naming
  // `line` when it cannot be packed.
  static TkwSoundFile Inspect(const std::string& path, std::int32_t line);
  // The same for a file's bytes from any source, named `path`.
  static TkwSoundFile Inspect(ByteSource& source, const std::string& path, std::int32_t line);

  std::uint32_t CodecVersion() const { return layout.header.formatVersion; }
  std::uint64_t DataSize() const { return fileSize - static_cast<std::uint64_t>(layout.dataOffset); }
};
