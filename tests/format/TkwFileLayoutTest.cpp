// The .tkw header and sector table: what the writer stores, byte for byte,
// and that the reader gives back every value it was given.
#include "format/TkwFileLayout.h"
#include "support/MemoryByteSource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

TkwHeaderValues V1Header() {
  TkwHeaderValues h = MakeTkwHeaderValues(1, 131073, 22050, 2);
  h.contrastLimit = 3;
  h.brightnessLimit = 15000;
  h.contrastBits = 8;
  h.brightnessBits = 9;
  h.offsetBits = 12;
  return h;
}

TkwHeaderValues V3Header() {
  TkwHeaderValues h = MakeTkwHeaderValues(3, 300, 44100, 1);
  h.offsetBits = 14;
  h.reserved = {0xAB, 0xCD}; // ignored by readers, but kept
  return h;
}

TkwSectorTable BackToBack(std::initializer_list<std::uint32_t> sizes) {
  TkwSectorTable table;
  std::uint32_t offset = 0;
  for (std::uint32_t size : sizes) {
    table.push_back({offset, size});
    offset += size;
  }
  return table;
}

TEST(TkwFileLayout, TheWriterStoresEveryFieldWhereItBelongs) {
  const Bytes v2 = TkwFileHeaderBytes(V3Header(), BackToBack({5}));
  const Bytes expectedV2 = {
      'T', 'k', 'w',  '$',  41,   0,    0, 0, 3, 0, 0, 0, // magic, declared size 28 + 8 + 5, format word
      44,  1,   0,    0,    0x44, 0xAC, 0, 0, 1, 0, 0, 0, // length 300, rate 44100, one entry
      1,   14,  0xAB, 0xCD,                               // channels, offset bits, reserved
      0,   0,   0,    0,    5,    0,    0, 0};            // the entry: offset 0, 5 bytes
  EXPECT_EQ(v2, expectedV2);

  const Bytes v1 = TkwFileHeaderBytes(V1Header(), BackToBack({7, 9, 2, 4}));
  const Bytes expectedV1Head = {
      'T', 'k', 'w',  '@',  82,   0,    0, 0,             // magic, declared size 28 + 32 + 22
      1,   0,   2,    0,    0x22, 0x56, 0, 0, 4, 0, 0, 0, // length 131073, rate 22050, four entries
      3,   0,   0x98, 0x3A,                               // contrast limit 3, brightness limit 15000
      2,   8,   9,    12,   1,    0,    0, 0};            // channels, contrast, brightness, offset bits; word 1
  ASSERT_EQ(v1.size(), 32u + 4 * 8);
  EXPECT_EQ(Bytes(v1.begin(), v1.begin() + 32), expectedV1Head);
  EXPECT_EQ(Bytes(v1.begin() + 48, v1.begin() + 56), (Bytes{16, 0, 0, 0, 2, 0, 0, 0})) << "third entry";
}

// The declared size is 28 + 8 × entries + the data for both layouts: the
// file's size for "Tkw$", four bytes less for "Tkw@", as every file the
// encoder has ever written says; readers only require it not to exceed the
// file.
TEST(TkwFileLayout, DeclaredSizeIsTheSameSumForBothLayouts) {
  const TkwSectorTable table = BackToBack({7, 9, 2, 4});
  EXPECT_EQ(TkwDeclaredSize(table), 28u + 32u + 22u);
  EXPECT_EQ(TkwDeclaredSize({}), 28u);
  EXPECT_EQ(TkwFileHeaderBytes(V1Header(), table).size() + 22, TkwDeclaredSize(table) + 4u);
  EXPECT_EQ(TkwFileHeaderBytes(V3Header(), BackToBack({5})).size() + 5, TkwDeclaredSize(BackToBack({5})));
}

TEST(TkwFileLayout, TheReaderGivesBackWhatTheWriterStored) {
  struct Case {
    const char* title;
    TkwHeaderValues header;
    TkwSectorTable table;
  };
  TkwHeaderValues v2 = MakeTkwHeaderValues(2, 262144, 8000, 2);
  v2.offsetBits = 0;
  const Case cases[] = {
      {"version 1, stereo, two sectors", V1Header(), BackToBack({7, 9, 2, 4})},
      {"version 2, four entries", v2, BackToBack({1, 0, 3, 524288})},
      {"version 3, reserved bytes kept", V3Header(), BackToBack({5})},
      {"no frames, no entries", MakeTkwHeaderValues(2, 0, 44100, 1), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    Bytes file = TkwFileHeaderBytes(c.header, c.table);
    file.resize(file.size() + TkwDataEnd(c.table), 0x5A);
    MemoryByteSource source(file.data(), file.size());
    const TkwFileLayout layout = ReadTkwFileLayout(source);
    EXPECT_EQ(layout.header, c.header);
    EXPECT_EQ(layout.table, c.table);
    EXPECT_EQ(layout.dataOffset, static_cast<std::int64_t>(c.header.HeaderSize() + 8 * c.table.size()));
    unsigned char first = 0;
    EXPECT_EQ(source.Read(&first, 1), c.table.empty() ? 0u : 1u) << "the source is left at the data area";
  }
}

TEST(TkwFileLayout, HeaderFieldsAsAnArchiveKeepsThem) {
  for (const TkwHeaderValues& header : {V1Header(), V3Header()}) {
    unsigned char fields[20] = {};
    header.StoreFields(fields);
    const TkwHeaderValues back = header.layout == TkwLayout::V1
                                     ? TkwHeaderValues::FromV1Fields(fields)
                                     : TkwHeaderValues::FromV2Fields(fields, header.formatVersion);
    EXPECT_EQ(back, header);
    const Bytes file = TkwFileHeaderBytes(header, {});
    const std::size_t at = header.layout == TkwLayout::V1 ? 8 : 12;
    EXPECT_EQ(Bytes(fields, fields + header.FieldsSize()), Bytes(file.begin() + at, file.begin() + 28));
  }
}

} // namespace
