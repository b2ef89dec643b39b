#include "format/TkwFileLayout.h"

#include "support/ByteOrder.h"
#include "support/ByteSource.h"
#include "support/Exceptions.h"

#include <cstring>

using namespace tkw;

namespace {

void ReadExactly(ByteSource& source, void* buffer, std::uint32_t count) {
  if (source.Read(buffer, count) != count) throw TKW_BadFormat();
}

TkwHeaderValues ReadHeaderValues(ByteSource& source, const unsigned char* magic, std::uint32_t* declaredSize) {
  if (std::memcmp(magic, kMagicV2, 4) == 0) {
    unsigned char rest[kHeaderSizeV2 - 4];
    ReadExactly(source, rest, sizeof rest);
    *declaredSize = LoadLe32(rest + kDeclaredSizeOffset - 4);
    return TkwHeaderValues::FromV2Fields(rest + kFieldsOffsetV2 - 4, LoadLe32(rest + kFormatWordOffsetV2 - 4));
  }
  if (std::memcmp(magic, kMagicV1, 4) == 0) {
    unsigned char rest[kHeaderSizeV1 - 4];
    ReadExactly(source, rest, sizeof rest);
    *declaredSize = LoadLe32(rest + kDeclaredSizeOffset - 4);
    return TkwHeaderValues::FromV1Fields(rest + kFieldsOffsetV1 - 4);
  }
  throw TKW_BadFormat();
}

} // namespace

TkwFileLayout ReadTkwFileLayout(ByteSource& source) {
  const std::int64_t size = source.Size();
  if (size < 0) throw TKW_BadFormat();
  unsigned char magic[4];
  ReadExactly(source, magic, sizeof magic);
  std::uint32_t declaredSize = 0;
  TkwFileLayout layout;
  layout.header = ReadHeaderValues(source, magic, &declaredSize);
  if (declaredSize > size) throw TKW_BadFormat();
  CheckTkwHeaderValues(layout.header);

  const std::int64_t tableBytes = std::int64_t{layout.header.entryCount} * kTableEntrySize;
  layout.dataOffset = layout.header.HeaderSize() + tableBytes;
  if (layout.dataOffset > size) throw TKW_BadFormat();
  std::vector<unsigned char> bytes(static_cast<std::size_t>(tableBytes));
  if (tableBytes > 0) ReadExactly(source, bytes.data(), static_cast<std::uint32_t>(tableBytes));
  layout.table = ParseTkwSectorTable(bytes.data(), layout.header.entryCount);
  CheckTkwSectorTable(layout.header, layout.table, size - layout.dataOffset);
  return layout;
}

std::uint32_t TkwDeclaredSize(const TkwSectorTable& table) {
  const auto entries = static_cast<std::uint32_t>(table.size());
  return kHeaderSizeV2 + kTableEntrySize * entries + static_cast<std::uint32_t>(TkwDataEnd(table));
}

std::vector<unsigned char> TkwFileHeaderBytes(const TkwHeaderValues& header, const TkwSectorTable& table) {
  std::vector<unsigned char> bytes(header.HeaderSize(), 0);
  const bool v1 = header.layout == TkwLayout::V1;
  std::memcpy(bytes.data(), v1 ? kMagicV1 : kMagicV2, 4);
  StoreLe32(&bytes[kDeclaredSizeOffset], TkwDeclaredSize(table));
  StoreLe32(&bytes[v1 ? kFieldsOffsetV1 + kFieldsSizeV1 : kFormatWordOffsetV2], header.formatVersion);
  header.StoreFields(&bytes[v1 ? kFieldsOffsetV1 : kFieldsOffsetV2]);
  AppendTkwSectorTable(bytes, table);
  return bytes;
}
