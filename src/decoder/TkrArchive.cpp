#include "decoder/TkrArchive.h"

#include "decoder/TkwBlockDecoder.h"
#include "decoder/TkwDecodeHandle.h"
#include "support/ByteOrder.h"
#include "support/Exceptions.h"
#include "support/TkrHeader.h"
#include "support/TkwFormatVersion.h"

#include <cstring>

namespace {

constexpr std::size_t kEntrySizeV1 = 20; // bytes 8 to 27 of a "Tkw@" file
constexpr std::size_t kEntrySizeV2 = 16; // bytes 12 to 27 of a "Tkw$" file

// Reads exactly `size` bytes or refuses the archive.
void readExactly(RFile& file, void* buffer, std::uint64_t size) {
  if (size > 0 && file.Read(buffer, static_cast<std::uint32_t>(size)) != size) throw TKR_BadFormat();
}

} // namespace

TkrArchive::~TkrArchive() = default;

std::unique_ptr<TkrArchive> TkrArchive::Read(const char* path, const char* password) {
  std::unique_ptr<TkrArchive> archive(new TkrArchive());
  RFile& file = archive->file_;
  if (!file.Open(path, RFile::kRead)) {
    // A folder, device or pipe is no archive; a file of data that does not
    // open now (no handle left) may be a good one.
    if (RFile::NamesDataFile(path)) throw TKR_CannotOpen();
    throw TKR_BadFormat();
  }
  const std::int64_t fileSize = file.Size();
  unsigned char bytes[TkrHeader::kSize];
  if (fileSize < static_cast<std::int64_t>(TkrHeader::kSize)) throw TKR_BadFormat();
  readExactly(file, bytes, sizeof bytes);
  const TkrHeader header = TkrHeader::Load(bytes);
  if (!header.HasMagic() || header.totalLength > fileSize) throw TKR_BadFormat();
  if (!header.Accepts(password ? password : "")) throw TKR_BadPassword();

  std::uint64_t indexStart = TkrHeader::kSize;
  std::size_t entrySize = kEntrySizeV1;
  archive->codecVersion_ = 1;
  if (header.layout == 2) {
    unsigned char word[4];
    if (header.totalLength < indexStart + 4) throw TKR_BadFormat();
    readExactly(file, word, sizeof word);
    archive->codecVersion_ = LoadLe32(word);
    indexStart += 4;
    if (TkwFormatVersion::IsKnown(archive->codecVersion_))
      entrySize = kEntrySizeV2;
    else if (archive->codecVersion_ != 1)
      throw TKR_BadFormat();
  } else if (header.layout != 1) {
    throw TKR_BadFormat();
  }
  archive->numbers_.resize(header.count);
  archive->ReadIndex(indexStart, entrySize, header.totalLength);
  return archive;
}

void TkrArchive::ReadIndex(std::uint64_t indexStart, std::size_t entrySize, std::uint32_t totalLength) {
  const std::size_t count = numbers_.size();
  // Numbers, entries and offsets must lie inside the archive before they are read.
  const std::uint64_t fixedSize = count * (4 + entrySize + 4);
  if (indexStart + fixedSize > totalLength) throw TKR_BadFormat();
  std::vector<unsigned char> fixed(static_cast<std::size_t>(fixedSize));
  readExactly(file_, fixed.data(), fixedSize);
  const unsigned char* numbers = fixed.data();
  const unsigned char* entries = numbers + 4 * count;
  const unsigned char* offsets = entries + entrySize * count;

  sounds_.resize(count);
  std::uint64_t tableEntries = 0;
  for (std::size_t i = 0; i < count; ++i) {
    numbers_[i] = LoadLe32(numbers + 4 * i);
    Sound& sound = sounds_[i];
    const unsigned char* entry = entries + entrySize * i;
    sound.header = entrySize == kEntrySizeV1 ? TkwHeaderValues::FromV1Fields(entry)
                                             : TkwHeaderValues::FromV2Fields(entry, codecVersion_);
    sound.dataOffset = LoadLe32(offsets + 4 * i);
    try {
      CheckTkwHeaderValues(sound.header);
    } catch (const TKW_BadFormat&) {
      throw TKR_BadFormat();
    }
    tableEntries += sound.header.entryCount;
  }

  // The tables are allocated only once the archive is known to hold them.
  const std::uint64_t indexEnd = indexStart + fixedSize + tableEntries * tkw::kTableEntrySize;
  if (indexEnd > totalLength) throw TKR_BadFormat();
  std::vector<unsigned char> tables(static_cast<std::size_t>(tableEntries * tkw::kTableEntrySize));
  readExactly(file_, tables.data(), tables.size());

  const unsigned char* table = tables.data();
  for (Sound& sound : sounds_) {
    sound.table = ParseTkwSectorTable(table, sound.header.entryCount);
    table += std::size_t{sound.header.entryCount} * tkw::kTableEntrySize;
    if (sound.dataOffset < indexEnd || sound.dataOffset > totalLength) throw TKR_BadFormat();
    try {
      CheckTkwSectorTable(sound.header, sound.table, std::int64_t{totalLength} - sound.dataOffset);
    } catch (const TKW_BadFormat&) {
      throw TKR_BadFormat();
    }
    sound.prototype = MakeTkwBlockDecoder(sound.header);
  }
}

std::unique_ptr<TkwDecodeHandle> TkrArchive::OpenSound(std::size_t index, std::uint32_t flags) const {
  const Sound& sound = sounds_.at(index);
  return TkwDecodeHandle::Create(file_.Name().c_str(), sound.dataOffset, sound.header, sound.table,
                                 sound.prototype->Clone(), flags);
}
