// Any bytes as a .tkr archive, read from memory: reading fails only as a bad
// format, and every sound of an archive that reads decodes in both modes to
// the same frames without touching memory outside its buffers.
#include "FuzzDecode.h"
#include "decoder/TkrArchive.h"
#include "decoder/TkrDecodeHandle.h"
#include "decoder/TkwDecodeHandle.h"
#include "format/TkrHeader.h"
#include "support/ByteOrder.h"
#include "support/Exceptions.h"
#include "support/MemoryByteSource.h"
#include "tkwDec32.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kMaxSounds = 8;

std::unique_ptr<TkrArchive> Read(const std::vector<std::uint8_t>& bytes) {
  try {
    return TkrArchive::Read(std::make_unique<MemoryByteSource>(bytes.data(), bytes.size()), nullptr);
  } catch (const TKR_BadFormat&) {
    return nullptr;
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using fuzz::Check;
  // The check word is made to match the stored length, so that mutations
  // reach the index instead of stopping at the password.
  std::vector<std::uint8_t> bytes(data, data + size);
  if (size >= TkrHeader::kSize) StoreLe32(&bytes[8], TkrHeader::Mix(LoadLe32(&bytes[4])));
  std::unique_ptr<TkrArchive> archive = Read(bytes);
  if (!archive) return 0;
  const bool empty = archive->Numbers().empty();
  TkrDecodeHandle index(nullptr);
  index.AddSet(std::move(archive));
  // The same archive a second time overlaps unless it holds no sound.
  try {
    index.AddSet(Read(bytes));
    Check(empty);
  } catch (const TKR_OverlapNumber&) {
    Check(!empty);
  }
  TkrIndexEnumerator* numbers = index.StartEnumeration();
  for (std::size_t sounds = 0; sounds < kMaxSounds; ++sounds) {
    std::uint32_t number = 0;
    try {
      number = index.NextNumber(numbers);
    } catch (const TKR_NoRestIndex&) {
      break;
    }
    const bool loops = number % 4 == 0;
    const std::uint32_t loop = loops ? TKW_OPEN_LOOP : 0u;
    const auto sector = index.OpenSound(number, loop);
    const auto stream = index.OpenSound(number, loop | TKW_OPEN_STREAM);
    Check(sector != nullptr && stream != nullptr);
    fuzz::CompareModes(sector.get(), stream.get(), loops, number + static_cast<std::uint32_t>(size), 20000);
  }
  index.EndEnumeration(numbers);
  return 0;
}
