#include "decoder/TkwHeader.h"

#include "decoder/TkwBlockDecoderV1.h"
#include "decoder/TkwBlockDecoderV2.h"
#include "support/ByteOrder.h"
#include "support/Exceptions.h"
#include "support/RFile.h"
#include "support/TkwFormatVersion.h"

#include <cstring>

using namespace tkw;

std::uint32_t TkwHeaderValues::CodecVersion() const {
  if (layout == TkwLayout::V1) return 1;
  return formatVersion == TkwFormatVersion::kV3 ? 3 : 2;
}

TkwHeaderValues TkwHeaderValues::FromV1Fields(const unsigned char* p) {
  TkwHeaderValues h;
  h.layout = TkwLayout::V1;
  h.formatVersion = 1;
  h.length = LoadLe32(p + 0);
  h.sampleRate = LoadLe32(p + 4);
  h.entryCount = LoadLe32(p + 8);
  h.contrastLimit = LoadLe16(p + 12);
  h.brightnessLimit = LoadLe16(p + 14);
  h.channels = p[16];
  h.contrastBits = p[17];
  h.brightnessBits = p[18];
  h.offsetBits = p[19];
  return h;
}

TkwHeaderValues TkwHeaderValues::FromV2Fields(const unsigned char* p, std::uint32_t formatVersion) {
  TkwHeaderValues h;
  h.layout = TkwLayout::V2;
  h.formatVersion = formatVersion;
  h.length = LoadLe32(p + 0);
  h.sampleRate = LoadLe32(p + 4);
  h.entryCount = LoadLe32(p + 8);
  h.channels = p[12];
  h.offsetBits = p[13];
  return h;
}

void CheckTkwHeaderValues(const TkwHeaderValues& header) {
  if (header.layout == TkwLayout::V2 && !TkwFormatVersion::IsKnown(header.formatVersion)) throw TKW_BadFormat();
  if (header.channels < 1 || header.channels > kMaxChannels) throw TKW_BadFormat();
  const std::uint64_t expected = std::uint64_t{header.channels} * SectorCount(header.length);
  if (header.entryCount != expected) throw TKW_BadFormat();
  if (header.offsetBits > kMaxOffsetBits) throw TKW_BadFormat();
  if (header.layout == TkwLayout::V1 && (header.contrastBits > kMaxFieldBits || header.brightnessBits > kMaxFieldBits))
    throw TKW_BadFormat();
}

void CheckTkwSectorTable(const TkwHeaderValues& header, const std::vector<TkwSectorEntry>& table,
                         std::int64_t available) {
  if (table.size() != header.entryCount) throw TKW_BadFormat();
  if (table.empty()) return;
  // 64-bit sums: offsets and sizes are 32-bit each, so nothing wraps.
  std::int64_t end = table.front().offset;
  for (const TkwSectorEntry& entry : table) {
    if (entry.size > kMaxChunkSize) throw TKW_BadFormat();
    if (entry.offset != end) throw TKW_BadFormat();
    end += entry.size;
  }
  if (end > available) throw TKW_BadFormat();
}

std::vector<TkwSectorEntry> ParseTkwSectorTable(const unsigned char* bytes, std::uint32_t entryCount) {
  std::vector<TkwSectorEntry> table(entryCount);
  for (std::uint32_t i = 0; i < entryCount; ++i) {
    table[i].offset = LoadLe32(bytes + 8 * std::size_t{i});
    table[i].size = LoadLe32(bytes + 8 * std::size_t{i} + 4);
  }
  return table;
}

namespace {

void ReadExactly(RFile& file, void* buffer, std::uint32_t count) {
  if (file.Read(buffer, count) != count) throw TKW_BadFormat();
}

TkwHeaderValues ReadHeaderValues(RFile& file, const unsigned char* magic, std::uint32_t* declaredSize) {
  if (std::memcmp(magic, kMagicV2, 4) == 0) {
    unsigned char rest[kHeaderSizeV2 - 4];
    ReadExactly(file, rest, sizeof rest);
    *declaredSize = LoadLe32(rest);
    return TkwHeaderValues::FromV2Fields(rest + 8, LoadLe32(rest + 4));
  }
  if (std::memcmp(magic, kMagicV1, 4) == 0) {
    unsigned char rest[kHeaderSizeV1 - 4];
    ReadExactly(file, rest, sizeof rest);
    *declaredSize = LoadLe32(rest);
    return TkwHeaderValues::FromV1Fields(rest + 4);
  }
  throw TKW_BadFormat();
}

} // namespace

TkwFileLayout ReadTkwFileLayout(RFile& file) {
  const std::int64_t fileSize = file.Size();
  if (fileSize < 0) throw TKW_BadFormat();
  unsigned char magic[4];
  ReadExactly(file, magic, sizeof magic);
  std::uint32_t declaredSize = 0;
  TkwFileLayout layout;
  layout.header = ReadHeaderValues(file, magic, &declaredSize);
  if (declaredSize > fileSize) throw TKW_BadFormat();
  CheckTkwHeaderValues(layout.header);

  const std::int64_t tableBytes = std::int64_t{layout.header.entryCount} * kTableEntrySize;
  layout.dataOffset = layout.header.HeaderSize() + tableBytes;
  if (layout.dataOffset > fileSize) throw TKW_BadFormat();
  std::vector<unsigned char> bytes(static_cast<std::size_t>(tableBytes));
  if (tableBytes > 0) ReadExactly(file, bytes.data(), static_cast<std::uint32_t>(tableBytes));
  layout.table = ParseTkwSectorTable(bytes.data(), layout.header.entryCount);
  CheckTkwSectorTable(layout.header, layout.table, fileSize - layout.dataOffset);
  return layout;
}

std::unique_ptr<TkwBlockDecoder> MakeTkwBlockDecoder(const TkwHeaderValues& header) {
  if (header.layout == TkwLayout::V1)
    return std::make_unique<TkwBlockDecoderV1>(header.contrastLimit, header.brightnessLimit, header.contrastBits,
                                               header.brightnessBits, header.offsetBits);
  return std::make_unique<TkwBlockDecoderV2>(header.offsetBits, header.CodecVersion() == 3);
}
