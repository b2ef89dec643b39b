// The front of a .tkr archive: the serialiser's bytes and the parser giving
// them back, in both layouts. Damaged archives are refused in the decoder's
// archive tests, which go through the same parser.
#include "format/TkrIndex.h"
#include "support/ByteOrder.h"
#include "support/Exceptions.h"
#include "support/MemoryByteSource.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

TkrIndexEntry Entry(std::uint32_t number, std::uint32_t version, std::uint32_t length, std::uint8_t channels) {
  TkrIndexEntry entry;
  entry.number = number;
  entry.header = MakeTkwHeaderValues(version, length, 22050, channels);
  entry.header.offsetBits = 10;
  std::uint32_t offset = 0;
  for (std::uint32_t i = 0; i < entry.header.entryCount; ++i, offset += 6)
    entry.table.push_back({offset, 6});
  return entry;
}

// The index with data areas placed after it, and the archive's bytes.
Bytes Archive(TkrIndex& index, std::string_view password) {
  std::uint64_t offset = index.Size();
  for (TkrIndexEntry& entry : index.entries) {
    entry.dataOffset = static_cast<std::uint32_t>(offset);
    offset += TkwDataEnd(entry.table);
  }
  index.header.totalLength = static_cast<std::uint32_t>(offset);
  index.header.checkWord = TkrHeader::CheckWord(index.header.totalLength, password);
  index.header.count = static_cast<std::uint16_t>(index.entries.size());
  Bytes bytes = index.Bytes();
  EXPECT_EQ(bytes.size(), index.Size());
  bytes.resize(offset, 0x33);
  return bytes;
}

TEST(TkrIndex, TheSerialiserWritesTheLayoutTwoIndex) {
  TkrIndex index;
  index.codecVersion = 3;
  index.entries = {Entry(7, 3, 100, 1)};
  const Bytes bytes = Archive(index, "");
  const Bytes expected = {'T', 'k', 'r', '.', 58,   0,    0, 0, 0, 0, 0, 0,
                          2,   0,   1,   0, // magic, total 52 + 6, check word, layout 2, count 1
                          3,   0,   0,   0, // codec version
                          7,   0,   0,   0, // number
                          100, 0,   0,   0,   0x22, 0x56, 0, 0, 1, 0, 0, 0, // length, rate, entries
                          1,   10,  0,   0,                                 // channels, offset bits, reserved
                          52,  0,   0,   0,                                 // data offset
                          0,   0,   0,   0,   6,    0,    0, 0};            // sector table
  Bytes front(bytes.begin(), bytes.begin() + 52);
  StoreLe32(&front[8], 0); // the check word is TkrHeader's to test
  EXPECT_EQ(front, expected);
}

TEST(TkrIndex, TheParserGivesBackWhatTheSerialiserWrote) {
  struct Case {
    const char* title;
    std::uint16_t layout;
    std::uint32_t codecVersion;
    std::vector<TkrIndexEntry> entries;
  };
  const Case cases[] = {
      {"layout 2, version 2", 2, 2, {Entry(1, 2, 300000, 2), Entry(0xFFFFFFFF, 2, 0, 1), Entry(5, 2, 10, 1)}},
      {"layout 2, version 3", 2, 3, {Entry(9, 3, 131072, 2)}},
      {"layout 2, version 1 sounds", 2, 1, {Entry(4, 1, 131073, 1), Entry(3, 1, 5, 2)}},
      {"layout 1", 1, 1, {Entry(2, 1, 50, 2)}},
      {"no sounds", 2, 2, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    TkrIndex index;
    index.header.layout = c.layout;
    index.codecVersion = c.codecVersion;
    index.entries = c.entries;
    const Bytes bytes = Archive(index, "pass");
    MemoryByteSource source(bytes.data(), bytes.size());
    const TkrIndex read = ReadTkrIndex(source, "pass");
    EXPECT_EQ(read.header.count, c.entries.size());
    EXPECT_EQ(read.header.totalLength, bytes.size());
    EXPECT_EQ(read.codecVersion, c.codecVersion);
    EXPECT_EQ(read.entries, index.entries);
    EXPECT_EQ(read.Size(), index.Size());

    MemoryByteSource again(bytes.data(), bytes.size());
    EXPECT_THROW(ReadTkrIndex(again, "Pass"), TKR_BadPassword);
  }
}

TEST(TkrIndex, TheSerialiserRefusesWhatNoReaderCouldRead) {
  TkrIndex mixed;
  mixed.codecVersion = 2;
  mixed.entries = {Entry(1, 2, 10, 1), Entry(2, 1, 10, 1)};
  EXPECT_THROW(mixed.Bytes(), std::invalid_argument);
  TkrIndex tooMany;
  tooMany.entries.resize(0x10000, Entry(1, 2, 0, 1));
  EXPECT_THROW(tooMany.Bytes(), std::invalid_argument);
}

} // namespace
