// Any bytes as a .tkw file: opening never fails other than with status 3,
// reads never touch memory outside their buffers, and both decoding modes
// deliver the same frames and statuses for the same varied requests.
#include "tkwDec32.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

const std::string& TempPath() {
  static const std::string path = [] {
    std::random_device random;
    return (std::filesystem::temp_directory_path() / ("tkw_fuzz_" + std::to_string(random()) + ".tkw")).string();
  }();
  return path;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(TempPath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const std::uint32_t flags[] = {0u, TKW_OPEN_STREAM, TKW_OPEN_LOOP | (size % 2 ? TKW_OPEN_STREAM : 0u)};
  TkwDecodeHandle* handles[3] = {};
  std::int32_t status[3];
  for (int i = 0; i < 3; ++i)
    status[i] = tkwDecodeOpen(&handles[i], TempPath().c_str(), flags[i]);
  Check(status[0] == status[1] && status[1] == status[2]);
  Check(status[0] == TKW_OK || status[0] == TKW_ERR_BAD_FORMAT);
  if (status[0] != TKW_OK) {
    Check(handles[0] == nullptr && handles[1] == nullptr && handles[2] == nullptr);
    return 0;
  }
  TkwDecodeHandle* sector = handles[0];
  TkwDecodeHandle* stream = handles[1];
  TkwDecodeHandle* loop = handles[2];
  std::uint32_t length = 0;
  std::int32_t sectors = 0;
  TkwWaveFormat format{};
  tkwDecodeGetLength(sector, &length);
  tkwDecodeGetNumSector(sector, &sectors);
  tkwDecodeGetFormat(sector, &format);
  Check(format.channels == 1 || format.channels == 2);
  Check(static_cast<std::uint64_t>(sectors) * 131072 >= length);

  // Request sizes from 1 frame to past a sector, and a few sector jumps.
  std::minstd_rand rng(static_cast<std::uint32_t>(size) + 1);
  const std::uint32_t channels = format.channels;
  std::vector<std::int16_t> x, y;
  std::uint64_t budget = 200000; // frames per input, so each run stays quick
  while (budget > 0) {
    if (rng() % 16 == 0) {
      const auto k = static_cast<std::int32_t>(rng() % (sectors + 2)) - 1;
      const std::int32_t s1 = tkwDecodeSetSector(sector, k);
      Check(s1 == tkwDecodeSetSector(stream, k));
      Check(s1 == ((k >= 0 && k < sectors) ? TKW_OK : TKW_ERR_SECTOR_RANGE));
    }
    const std::uint32_t limits[] = {1, 7, 600, 20000, 140000};
    const std::uint32_t frames = 1 + static_cast<std::uint32_t>(rng() % limits[rng() % 5]);
    x.assign(std::size_t{frames} * channels, 1);
    y.assign(std::size_t{frames} * channels, 2);
    std::uint32_t gotX = 0, gotY = 0;
    const std::int32_t sx = tkwDecodeRead(sector, x.data(), frames, &gotX);
    const std::int32_t sy = tkwDecodeRead(stream, y.data(), frames, &gotY);
    Check(sx == sy && gotX == gotY && x == y);
    Check(sx == TKW_OK || sx == TKW_END_OF_SOUND);
    Check(gotX == frames || sx == TKW_END_OF_SOUND);
    Check(std::all_of(x.begin() + std::size_t{gotX} * channels, x.end(), [](std::int16_t v) { return v == 0; }));

    // The looping handle fills every request of a sound that has frames.
    Check(tkwDecodeRead(loop, y.data(), frames, &gotY) == TKW_OK);
    Check(gotY == (length == 0 ? 0 : frames));
    std::uint32_t pulsed = 0;
    Check(tkwDecodeReadPulse(loop, y.data(), frames, &pulsed) == TKW_OK && pulsed <= frames);
    budget -= std::min<std::uint64_t>(budget, std::uint64_t{frames} * 2 + 1);
  }
  for (TkwDecodeHandle* handle : handles)
    Check(tkwDecodeClose(handle) == TKW_OK);
  return 0;
}
