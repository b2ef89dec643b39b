#include "converter/TkwSoundFile.h"

#include "support/ByteSource.h"
#include "support/Exceptions.h"
#include "support/FileByteSource.h"

#include <cstring>

namespace {

template <typename Condition> [[noreturn]] void fail(std::int32_t line) {
  Condition condition;
  condition.line = line;
  throw condition;
}

} // namespace

TkwSoundFile TkwSoundFile::Inspect(const std::string& path, std::int32_t line) {
  FileByteSource file(path.c_str());
  return Inspect(file, path, line);
}

TkwSoundFile TkwSoundFile::Inspect(ByteSource& source, const std::string& path, std::int32_t line) {
  TkwSoundFile sound;
  sound.path = path;
  const std::int64_t size = source.Size();
  if (size < kMinimumSize) fail<PC_NotTkwFile>(line);
  // Offsets and the total length of an archive are 32-bit.
  if (size > 0xFFFFFFFFll) fail<PC_NotTkwFile>(line);
  sound.fileSize = static_cast<std::uint64_t>(size);
  if (source.Read(sound.header.data(), tkw::kHeaderSizeV2) != tkw::kHeaderSizeV2) fail<PC_NotTkwFile>(line);
  if (std::memcmp(sound.header.data(), tkw::kMagicV1, 4) == 0) fail<PC_OldTkwFile>(line);
  if (std::memcmp(sound.header.data(), tkw::kMagicV2, 4) != 0) fail<PC_NotTkwFile>(line);
  // A sound the library would refuse is not packed: it would make the whole
  // archive unreadable.
  try {
    if (!source.Seek(0)) fail<PC_NotTkwFile>(line);
    sound.layout = ReadTkwFileLayout(source);
  } catch (const TKW_BadFormat&) {
    fail<PC_NotTkwFile>(line);
  }
  return sound;
}
