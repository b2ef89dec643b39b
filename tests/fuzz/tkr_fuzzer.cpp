// Any bytes as a .tkr archive: opening ends in status 0 or 3 only, and every
// sound of an archive that opens decodes in both modes to the same frames
// without touching memory outside its buffers.
#include "FuzzDecode.h"
#include "FuzzFiles.h"
#include "support/ByteOrder.h"
#include "support/TkrHeader.h"
#include "tkwDec32.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr int kMaxSounds = 8;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::Check;
  // The check word is made to match the stored length, so that mutations
  // reach the index instead of stopping at the password.
  std::vector<std::uint8_t> bytes(data, data + size);
  if (size >= 16) StoreLe32(&bytes[8], TkrHeader::Mix(LoadLe32(&bytes[4])));
  const std::string path = fuzz::WriteFile("input.tkr", bytes.data(), bytes.size());
  TkrDecodeHandle* index = nullptr;
  TkrSoundSetId id = nullptr;
  const std::int32_t status = tkrDecodeOpenPass(&index, path.c_str(), nullptr, &id);
  Check(status == TKW_OK || status == TKW_ERR_BAD_FORMAT);
  if (status != TKW_OK) {
    Check(index == nullptr && id == nullptr);
    return 0;
  }
  // The same archive a second time overlaps unless it holds no sound.
  TkrIndexEnumerator* enumerator = nullptr;
  Check(tkrDecodeFindIndex(index, &enumerator) == TKW_OK);
  std::uint32_t number = 0;
  const bool empty = tkrDecodeGetIndex(index, enumerator, &number) != TKW_OK;
  Check(tkrDecodeAddTkr(index, path.c_str(), nullptr) == (empty ? TKW_OK : TKR_ERR_OVERLAP));
  for (int sounds = 0; !empty && sounds < kMaxSounds; ++sounds) {
    const bool loops = number % 4 == 0;
    const std::uint32_t loop = loops ? TKW_OPEN_LOOP : 0u;
    TkwDecodeHandle* sector = nullptr;
    TkwDecodeHandle* stream = nullptr;
    Check(tkrDecodeTkwOpen(index, &sector, number, loop) == TKW_OK && sector != nullptr);
    Check(tkrDecodeTkwOpen(index, &stream, number, loop | TKW_OPEN_STREAM) == TKW_OK && stream != nullptr);
    fuzz::CompareModes(sector, stream, loops, number + static_cast<std::uint32_t>(size), 20000);
    tkwDecodeClose(sector);
    tkwDecodeClose(stream);
    if (tkrDecodeGetIndex(index, enumerator, &number) != TKW_OK) break;
  }
  Check(tkrDecodeFindClose(index, enumerator) == TKW_OK);
  Check(tkrDecodeRemoveTkr(index, id) == TKW_OK);
  Check(tkrDecodeClose(index) == TKW_OK);
  return 0;
}
