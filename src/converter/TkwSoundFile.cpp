#include "converter/TkwSoundFile.h"

#include "support/ByteOrder.h"
#include "support/Exceptions.h"
#include "support/RFile.h"
#include "support/TkwFormatVersion.h"

#include <cstring>
#include <vector>

namespace {

template <typename Condition> [[noreturn]] void fail(std::int32_t line) {
  Condition condition;
  condition.line = line;
  throw condition;
}

constexpr std::uint32_t kSectorLength = 131072;
constexpr std::uint32_t kMaxChunkSize = 524288;
constexpr std::uint8_t kMaxOffsetBits = 14;

} // namespace

bool TkwSoundFile::HasSoundLayout(const unsigned char* header) {
  const std::uint32_t length = LoadLe32(header + 12);
  const std::uint32_t entries = LoadLe32(header + 20);
  const std::uint32_t channels = header[24];
  const std::uint32_t sectors = length / kSectorLength + (length % kSectorLength != 0 ? 1 : 0);
  return (channels == 1 || channels == 2) && entries == channels * sectors && header[25] <= kMaxOffsetBits;
}

bool TkwSoundFile::TableFitsData(const std::vector<unsigned char>& table, std::uint64_t dataSize) {
  std::uint64_t end = table.size() >= 8 ? LoadLe32(&table[0]) : 0;
  for (std::size_t at = 0; at + 8 <= table.size(); at += 8) {
    const std::uint32_t offset = LoadLe32(&table[at]);
    const std::uint32_t size = LoadLe32(&table[at + 4]);
    if (offset != end || size > kMaxChunkSize) return false;
    end += size;
  }
  return end <= dataSize;
}

TkwSoundFile TkwSoundFile::Inspect(const std::string& path, std::int32_t line) {
  TkwSoundFile sound;
  sound.path = path;
  RFile file;
  file.Open(path.c_str(), RFile::kRead);
  const std::int64_t size = file.Size();
  if (size < kMinimumSize) fail<PC_NotTkwFile>(line);
  // Offsets and the total length of an archive are 32-bit.
  if (size > 0xFFFFFFFFll) fail<PC_NotTkwFile>(line);
  sound.fileSize = static_cast<std::uint64_t>(size);
  if (file.Read(sound.header.data(), kHeaderSize) != kHeaderSize) fail<PC_NotTkwFile>(line);

  const unsigned char* bytes = sound.header.data();
  if (std::memcmp(bytes, "Tkw@", 4) == 0) fail<PC_OldTkwFile>(line);
  if (std::memcmp(bytes, "Tkw$", 4) != 0) fail<PC_NotTkwFile>(line);
  if (LoadLe32(bytes + 4) > sound.fileSize) fail<PC_NotTkwFile>(line);
  sound.codecVersion = LoadLe32(bytes + 8);
  // The library refuses a version word it does not know; so does the packer.
  if (!TkwFormatVersion::IsKnown(sound.codecVersion)) fail<PC_NotTkwFile>(line);
  sound.entryCount = LoadLe32(bytes + 20);
  // The sector table must lie inside the file, or the archive would claim
  // bytes it does not hold.
  if (kHeaderSize + sound.TableSize() > sound.fileSize) fail<PC_NotTkwFile>(line);
  // A sound the library would refuse is not packed: it would make the whole
  // archive unreadable.
  if (!HasSoundLayout(bytes)) fail<PC_NotTkwFile>(line);
  std::vector<unsigned char> table(static_cast<std::size_t>(sound.TableSize()));
  if (!table.empty() && file.Read(table.data(), static_cast<std::uint32_t>(table.size())) != table.size())
    fail<PC_NotTkwFile>(line);
  if (!TableFitsData(table, sound.DataSize())) fail<PC_NotTkwFile>(line);
  return sound;
}
