#include "converter/TkwSoundFile.h"

#include "support/ByteOrder.h"
#include "support/Exceptions.h"
#include "support/RFile.h"

#include <cstring>

namespace {

template <typename Condition> [[noreturn]] void fail(std::int32_t line) {
  Condition condition;
  condition.line = line;
  throw condition;
}

} // namespace

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
  sound.entryCount = LoadLe32(bytes + 20);
  // The sector table must lie inside the file, or the archive would claim
  // bytes it does not hold.
  if (kHeaderSize + sound.TableSize() > sound.fileSize) fail<PC_NotTkwFile>(line);
  return sound;
}
