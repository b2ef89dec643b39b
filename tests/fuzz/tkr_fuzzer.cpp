// Any bytes as a .tkr archive: opening ends in status 0 or 3 only, and
// every sound of an archive that opens decodes in both modes to the same
// frames without touching memory outside its buffers.
#include "support/ByteOrder.h"
#include "support/TkrHeader.h"
#include "tkwDec32.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kMaxSounds = 8;
constexpr std::uint32_t kMaxFrames = 300000; // past two sector boundaries

const std::string& TempPath() {
  static const std::string path = [] {
    std::random_device random;
    return (std::filesystem::temp_directory_path() / ("tkr_fuzz_" + std::to_string(random()) + ".tkr")).string();
  }();
  return path;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Reads up to kMaxFrames frames in pieces; the samples delivered.
std::vector<std::int16_t> Decode(TkwDecodeHandle* handle) {
  TkwWaveFormat format{};
  Check(tkwDecodeGetFormat(handle, &format) == TKW_OK);
  Check(format.channels == 1 || format.channels == 2);
  std::vector<std::int16_t> samples;
  std::vector<std::int16_t> buffer(40000 * std::size_t{format.channels});
  for (std::uint32_t done = 0; done < kMaxFrames;) {
    std::uint32_t got = 0;
    const std::int32_t status = tkwDecodeRead(handle, buffer.data(), 40000, &got);
    Check(status == TKW_OK || status == TKW_END_OF_SOUND);
    samples.insert(samples.end(), buffer.begin(), buffer.begin() + std::size_t{got} * format.channels);
    done += got;
    if (status == TKW_END_OF_SOUND) break;
  }
  return samples;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The check word is made to match the stored length, so that mutations
  // reach the index instead of stopping at the password.
  std::vector<std::uint8_t> bytes(data, data + size);
  if (size >= 16) StoreLe32(&bytes[8], TkrHeader::Mix(LoadLe32(&bytes[4])));
  {
    std::ofstream out(TempPath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(size));
  }
  TkrDecodeHandle* index = nullptr;
  TkrSoundSetId id = nullptr;
  const std::int32_t status = tkrDecodeOpenPass(&index, TempPath().c_str(), nullptr, &id);
  Check(status == TKW_OK || status == TKW_ERR_BAD_FORMAT);
  if (status != TKW_OK) {
    Check(index == nullptr && id == nullptr);
    return 0;
  }
  // The same archive a second time overlaps unless it holds no sound.
  TkrIndexEnumerator* enumerator = nullptr;
  Check(tkrDecodeFindIndex(index, &enumerator) == TKW_OK);
  std::uint32_t number = 0;
  int sounds = 0;
  const bool empty = tkrDecodeGetIndex(index, enumerator, &number) != TKW_OK;
  Check(tkrDecodeAddTkr(index, TempPath().c_str(), nullptr) == (empty ? TKW_OK : TKR_ERR_OVERLAP));
  while (!empty && sounds++ < kMaxSounds) {
    TkwDecodeHandle* sector = nullptr;
    TkwDecodeHandle* stream = nullptr;
    Check(tkrDecodeTkwOpen(index, &sector, number, 0) == TKW_OK && sector != nullptr);
    Check(tkrDecodeTkwOpen(index, &stream, number, TKW_OPEN_STREAM) == TKW_OK && stream != nullptr);
    Check(Decode(sector) == Decode(stream));
    tkwDecodeClose(sector);
    tkwDecodeClose(stream);
    if (tkrDecodeGetIndex(index, enumerator, &number) != TKW_OK) break;
  }
  Check(tkrDecodeFindClose(index, enumerator) == TKW_OK);
  Check(tkrDecodeRemoveTkr(index, id) == TKW_OK);
  Check(tkrDecodeClose(index) == TKW_OK);
  return 0;
}
