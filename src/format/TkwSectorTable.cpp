#include "format/TkwSectorTable.h"

#include "format/TkwFormat.h"
#include "format/TkwHeader.h"
#include "support/ByteOrder.h"
#include "support/Exceptions.h"

using namespace tkw;

TkwSectorTable ParseTkwSectorTable(const unsigned char* bytes, std::uint32_t entryCount) {
  TkwSectorTable table(entryCount);
  for (std::uint32_t i = 0; i < entryCount; ++i) {
    const unsigned char* entry = bytes + std::size_t{kTableEntrySize} * i;
    table[i].offset = LoadLe32(entry);
    table[i].size = LoadLe32(entry + 4);
  }
  return table;
}

void AppendTkwSectorTable(std::vector<unsigned char>& bytes, const TkwSectorTable& table) {
  for (const TkwSectorEntry& entry : table) {
    unsigned char record[kTableEntrySize];
    StoreLe32(record, entry.offset);
    StoreLe32(record + 4, entry.size);
    bytes.insert(bytes.end(), record, record + kTableEntrySize);
  }
}

std::uint64_t TkwDataEnd(const TkwSectorTable& table) {
  return table.empty() ? 0 : std::uint64_t{table.back().offset} + table.back().size;
}

void CheckTkwSectorTable(const TkwHeaderValues& header, const TkwSectorTable& table, std::int64_t available) {
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
