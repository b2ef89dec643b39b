// Any bytes as a .tkw file: opening fails only with status 3, reads never
// touch memory outside their buffers, both decoding modes deliver the same
// frames and statuses for the same varied requests, and a sound that opens
// in the library is one the converter packs (and the other way round).
#include "FuzzDecode.h"
#include "FuzzFiles.h"
#include "converter/TkwSoundFile.h"
#include "support/Exceptions.h"
#include "tkwDec32.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Whether the converter would pack the file.
bool ConverterPacks(const std::string& path) {
  try {
    TkwSoundFile::Inspect(path, 1);
    return true;
  } catch (const PC_ListLineError&) {
    return false;
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::Check;
  const std::string path = fuzz::WriteFile("input.tkw", data, size);
  const std::uint32_t seed = size >= 4 ? data[size - 1] | (data[size - 2] << 8) : static_cast<std::uint32_t>(size);
  const bool loops = seed % 3 == 0;
  const std::uint32_t loop = loops ? TKW_OPEN_LOOP : 0u;
  TkwDecodeHandle* sector = nullptr;
  TkwDecodeHandle* stream = nullptr;
  const std::int32_t status = tkwDecodeOpen(&sector, path.c_str(), loop);
  Check(tkwDecodeOpen(&stream, path.c_str(), loop | TKW_OPEN_STREAM) == status);
  Check(status == TKW_OK || status == TKW_ERR_BAD_FORMAT);
  // The converter packs only version-2 files of 64 bytes or more; of those,
  // exactly the ones the library opens.
  const bool packable = size >= TkwSoundFile::kMinimumSize && std::memcmp(data, "Tkw$", 4) == 0;
  Check(ConverterPacks(path) == (packable && status == TKW_OK));
  if (status != TKW_OK) {
    Check(sector == nullptr && stream == nullptr);
    return 0;
  }
  fuzz::CompareModes(sector, stream, loops, seed);

  // Frames already decoded only, never past what a request asks for.
  std::vector<std::int16_t> buffer(2 * 5000);
  std::uint32_t pulsed = 0;
  Check(tkwDecodeReadPulse(sector, buffer.data(), 5000, &pulsed) == TKW_OK && pulsed <= 5000);
  Check(tkwDecodeReadPulse(stream, buffer.data(), 5000, &pulsed) == TKW_OK && pulsed <= 5000);
  Check(tkwDecodeClose(sector) == TKW_OK);
  Check(tkwDecodeClose(stream) == TKW_OK);
  return 0;
}
