// Any bytes as a .tkw file, decoded from memory: opening fails only as a bad
// format, reads never touch memory outside their buffers, both decoding
// modes deliver the same frames and statuses for the same varied requests,
// and a sound that opens in the library is one the converter packs (and the
// other way round).
#include "FuzzDecode.h"
#include "converter/TkwSoundFile.h"
#include "decoder/TkwDecodeHandle.h"
#include "format/TkwFormat.h"
#include "support/Exceptions.h"
#include "support/MemoryByteSource.h"
#include "tkwDec32.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Whether the converter would pack the bytes.
bool ConverterPacks(const std::uint8_t* data, std::size_t size) {
  MemoryByteSource source(data, size);
  try {
    TkwSoundFile::Inspect(source, "input.tkw", 1);
    return true;
  } catch (const PC_ListLineError&) {
    return false;
  }
}

// A handle on the bytes, or null when they are no sound; any other failure
// than a bad format is a finding.
std::unique_ptr<TkwDecodeHandle> Open(const std::uint8_t* data, std::size_t size, std::uint32_t flags) {
  try {
    return TkwDecodeHandle::Open(std::make_unique<MemoryByteSource>(data, size), flags, nullptr);
  } catch (const TKW_BadFormat&) {
    return nullptr;
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::Check;
  const std::uint32_t seed = size >= 4 ? data[size - 1] | (data[size - 2] << 8) : static_cast<std::uint32_t>(size);
  const bool loops = seed % 3 == 0;
  const std::uint32_t loop = loops ? TKW_OPEN_LOOP : 0u;
  const std::unique_ptr<TkwDecodeHandle> sector = Open(data, size, loop);
  const std::unique_ptr<TkwDecodeHandle> stream = Open(data, size, loop | TKW_OPEN_STREAM);
  Check((sector == nullptr) == (stream == nullptr));
  // The converter packs only version-2 files of 64 bytes or more; of those,
  // exactly the ones the library opens.
  const bool packable = size >= TkwSoundFile::kMinimumSize && std::memcmp(data, tkw::kMagicV2, 4) == 0;
  Check(ConverterPacks(data, size) == (packable && sector != nullptr));
  if (!sector) return 0;
  fuzz::CompareModes(sector.get(), stream.get(), loops, seed);

  // Frames already decoded only, never past what a request asks for.
  std::vector<std::int16_t> buffer(2 * 5000);
  std::uint32_t pulsed = 0;
  Check(tkwDecodeReadPulse(sector.get(), buffer.data(), 5000, &pulsed) == TKW_OK && pulsed <= 5000);
  Check(tkwDecodeReadPulse(stream.get(), buffer.data(), 5000, &pulsed) == TKW_OK && pulsed <= 5000);
  return 0;
}
