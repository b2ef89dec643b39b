// The format-version word of a "Tkw$" sound: the uint32 at offset 8 of the
// file, and the codec-version word of an archive that packs such sounds. The
// library's reader, the archive reader and the converter apply this one rule,
// so that every sound the converter packs is one the library reads.
#pragma once

#include <cstdint>

struct TkwFormatVersion {
  static constexpr std::uint32_t kV2 = 2; // the version-2 block syntax
  static constexpr std::uint32_t kV3 = 3; // version 2 with one more bit in each copy block

  // True for the words whose block syntax the decoder knows. Any other word
  // names a syntax of which nothing is known: decoding it as version 2 would
  // give noise, so such a file is refused.
  static constexpr bool IsKnown(std::uint32_t word) { return word == kV2 || word == kV3; }
};
