#include "format/TkrIndex.h"

#include "format/TkwFormatVersion.h"
#include "support/ByteOrder.h"
#include "support/ByteSource.h"
#include "support/Exceptions.h"

#include <cstring>
#include <stdexcept>

using namespace tkw;

namespace {

constexpr std::uint32_t kNumberSize = 4;
constexpr std::uint32_t kOffsetSize = 4;
constexpr std::uint32_t kCodecWordSize = 4;

std::uint64_t FixedStart(std::uint16_t layout) { return TkrHeader::kSize + (layout == 2 ? kCodecWordSize : 0); }

std::uint32_t FieldsSize(bool v1Sounds) { return v1Sounds ? kFieldsSizeV1 : kFieldsSizeV2; }

// Bytes from the start of the archive to the end of an index of `count`
// sounds with `tableEntries` sector-table entries in all.
std::uint64_t IndexEnd(const TkrIndex& index, std::uint64_t count, std::uint64_t tableEntries) {
  return FixedStart(index.header.layout) + count * (kNumberSize + FieldsSize(index.HoldsV1Sounds()) + kOffsetSize) +
         tableEntries * kTableEntrySize;
}

// Reads exactly `size` bytes or refuses the archive.
void ReadExactly(ByteSource& source, void* buffer, std::uint64_t size) {
  if (size > 0 && source.Read(buffer, static_cast<std::uint32_t>(size)) != size) throw TKR_BadFormat();
}

template <typename Check> void AsArchiveFailure(Check check) {
  try {
    check();
  } catch (const TKW_BadFormat&) {
    throw TKR_BadFormat();
  }
}

// The codec word of a layout-2 archive; refuses words of which nothing is known.
std::uint32_t ReadCodecVersion(ByteSource& source, const TkrHeader& header) {
  if (header.totalLength < TkrHeader::kSize + kCodecWordSize) throw TKR_BadFormat();
  unsigned char word[kCodecWordSize];
  ReadExactly(source, word, sizeof word);
  const std::uint32_t version = LoadLe32(word);
  if (version != 1 && !TkwFormatVersion::IsKnown(version)) throw TKR_BadFormat();
  return version;
}

// Numbers, header fields and offsets; returns how many table entries follow.
std::uint64_t ReadFixedPart(ByteSource& source, TkrIndex& index) {
  const std::size_t count = index.header.count;
  const std::uint32_t fieldsSize = FieldsSize(index.HoldsV1Sounds());
  const std::uint64_t fixedSize = IndexEnd(index, count, 0) - FixedStart(index.header.layout);
  // Numbers, entries and offsets must lie inside the archive before they are read.
  if (IndexEnd(index, count, 0) > index.header.totalLength) throw TKR_BadFormat();
  std::vector<unsigned char> fixed(static_cast<std::size_t>(fixedSize));
  ReadExactly(source, fixed.data(), fixedSize);
  const unsigned char* numbers = fixed.data();
  const unsigned char* fields = numbers + kNumberSize * count;
  const unsigned char* offsets = fields + std::size_t{fieldsSize} * count;

  std::uint64_t tableEntries = 0;
  index.entries.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    TkrIndexEntry& entry = index.entries[i];
    entry.number = LoadLe32(numbers + kNumberSize * i);
    const unsigned char* own = fields + std::size_t{fieldsSize} * i;
    entry.header = index.HoldsV1Sounds() ? TkwHeaderValues::FromV1Fields(own)
                                         : TkwHeaderValues::FromV2Fields(own, index.codecVersion);
    entry.dataOffset = LoadLe32(offsets + kOffsetSize * i);
    AsArchiveFailure([&] { CheckTkwHeaderValues(entry.header); });
    tableEntries += entry.header.entryCount;
  }
  return tableEntries;
}

void ReadTables(ByteSource& source, TkrIndex& index, std::uint64_t tableEntries) {
  const std::uint32_t totalLength = index.header.totalLength;
  // The tables are allocated only once the archive is known to hold them.
  const std::uint64_t indexEnd = IndexEnd(index, index.entries.size(), tableEntries);
  if (indexEnd > totalLength) throw TKR_BadFormat();
  std::vector<unsigned char> tables(static_cast<std::size_t>(tableEntries * kTableEntrySize));
  ReadExactly(source, tables.data(), tables.size());

  const unsigned char* table = tables.data();
  for (TkrIndexEntry& entry : index.entries) {
    entry.table = ParseTkwSectorTable(table, entry.header.entryCount);
    table += std::size_t{entry.header.entryCount} * kTableEntrySize;
    if (entry.dataOffset < indexEnd || entry.dataOffset > totalLength) throw TKR_BadFormat();
    AsArchiveFailure(
        [&] { CheckTkwSectorTable(entry.header, entry.table, std::int64_t{totalLength} - entry.dataOffset); });
  }
}

} // namespace

std::uint64_t TkrIndex::Size() const {
  std::uint64_t tableEntries = 0;
  for (const TkrIndexEntry& entry : entries)
    tableEntries += entry.table.size();
  return IndexEnd(*this, entries.size(), tableEntries);
}

std::vector<unsigned char> TkrIndex::Bytes() const {
  if (entries.size() > 0xFFFF) throw std::invalid_argument("more sounds than an archive counts");
  const bool v1Sounds = HoldsV1Sounds();
  for (const TkrIndexEntry& entry : entries)
    if ((entry.header.layout == TkwLayout::V1) != v1Sounds) throw std::invalid_argument("mixed sound layouts");

  // Written in place into the whole size at once.
  std::vector<unsigned char> bytes(static_cast<std::size_t>(Size()));
  unsigned char* at = bytes.data();
  TkrHeader stored = header;
  stored.count = static_cast<std::uint16_t>(entries.size());
  stored.Store(at);
  at += TkrHeader::kSize;
  auto put32 = [&at](std::uint32_t value) {
    StoreLe32(at, value);
    at += 4;
  };
  if (header.layout == 2) put32(codecVersion);
  for (const TkrIndexEntry& entry : entries)
    put32(entry.number);
  for (const TkrIndexEntry& entry : entries) {
    entry.header.StoreFields(at);
    at += FieldsSize(v1Sounds);
  }
  for (const TkrIndexEntry& entry : entries)
    put32(entry.dataOffset);
  for (const TkrIndexEntry& entry : entries) {
    for (const TkwSectorEntry& sector : entry.table) {
      put32(sector.offset);
      put32(sector.size);
    }
  }
  return bytes;
}

TkrIndex ReadTkrIndex(ByteSource& source, std::string_view password) {
  const std::int64_t size = source.Size();
  if (size < static_cast<std::int64_t>(TkrHeader::kSize)) throw TKR_BadFormat();
  unsigned char bytes[TkrHeader::kSize];
  ReadExactly(source, bytes, sizeof bytes);
  TkrIndex index;
  index.header = TkrHeader::Load(bytes);
  if (!index.header.HasMagic() || index.header.totalLength > size) throw TKR_BadFormat();
  if (!index.header.Accepts(password)) throw TKR_BadPassword();

  if (index.header.layout == 2)
    index.codecVersion = ReadCodecVersion(source, index.header);
  else if (index.header.layout == 1)
    index.codecVersion = 1;
  else
    throw TKR_BadFormat();
  ReadTables(source, index, ReadFixedPart(source, index));
  return index;
}
