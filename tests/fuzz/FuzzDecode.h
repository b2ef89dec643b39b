// Bounded decoding for the fuzz targets, checking what the decoder promises
// for any sound: both modes give the same frames and statuses for the same
// requests and sector jumps, a read ends in 0 or 13, the frames past the end
// are silence, and a looping handle fills every request.
#pragma once

#include "format/TkwFormat.h"
#include "tkwDec32.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace fuzz {

inline void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// A handle per mode on the same sound, opened with the same loop flag. The
// budget bounds the frames read from each, so that an input that declares
// hours of sound still runs in a few milliseconds.
inline void CompareModes(TkwDecodeHandle* sector, TkwDecodeHandle* stream, bool loops, std::uint32_t seed,
                         std::uint32_t budget = 40000) {
  std::uint32_t length = 0, otherLength = 0;
  std::int32_t sectors = 0, otherSectors = 0;
  TkwWaveFormat format{}, otherFormat{};
  Check(tkwDecodeGetLength(sector, &length) == TKW_OK && tkwDecodeGetLength(stream, &otherLength) == TKW_OK);
  Check(tkwDecodeGetNumSector(sector, &sectors) == TKW_OK && tkwDecodeGetNumSector(stream, &otherSectors) == TKW_OK);
  Check(tkwDecodeGetFormat(sector, &format) == TKW_OK && tkwDecodeGetFormat(stream, &otherFormat) == TKW_OK);
  Check(length == otherLength && sectors == otherSectors && format.channels == otherFormat.channels);
  Check(format.channels == 1 || format.channels == 2);
  Check(static_cast<std::uint64_t>(sectors) * tkw::kSectorLength >= length);
  Check(format.blockAlign == format.channels * 2 && format.bitsPerSample == 16);

  std::minstd_rand rng(seed + 1);
  const std::size_t channels = format.channels;
  std::vector<std::int16_t> x, y;
  for (int request = 0; request < 32 && budget > 0; ++request) {
    if (rng() % 8 == 0) {
      const auto k = static_cast<std::int32_t>(rng() % (static_cast<std::uint32_t>(sectors) + 2)) - 1;
      const std::int32_t status = tkwDecodeSetSector(sector, k);
      Check(status == tkwDecodeSetSector(stream, k));
      Check(status == ((k >= 0 && k < sectors) ? TKW_OK : TKW_ERR_SECTOR_RANGE));
    }
    const std::uint32_t limits[] = {1, 7, 600, 5000, 20000};
    const std::uint32_t frames = std::min(budget, 1 + static_cast<std::uint32_t>(rng() % limits[rng() % 5]));
    budget -= frames;
    x.assign(frames * channels, 1);
    y.assign(frames * channels, 2);
    std::uint32_t gotX = 0, gotY = 0;
    const std::int32_t sx = tkwDecodeRead(sector, x.data(), frames, &gotX);
    const std::int32_t sy = tkwDecodeRead(stream, y.data(), frames, &gotY);
    Check(sx == sy && gotX == gotY && x == y);
    if (loops) {
      Check(sx == TKW_OK && gotX == (length == 0 ? 0 : frames));
    } else {
      Check(sx == TKW_OK || sx == TKW_END_OF_SOUND);
      Check(gotX == frames || sx == TKW_END_OF_SOUND);
    }
    Check(std::all_of(x.begin() + std::ptrdiff_t(gotX * channels), x.end(), [](std::int16_t v) { return v == 0; }));
  }
}

} // namespace fuzz
