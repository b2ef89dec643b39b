// The bit order of chunks: fields from the top of little-endian 32-bit
// words, written by TkwBitWriter and read by TkwBitReader.
#include "format/TkwBitReader.h"
#include "format/TkwBitWriter.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace {

TEST(TkwBitWriterTest, PacksFieldsFromTheTopOfLittleEndianWords) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::uint32_t, int>> fields;
    std::vector<unsigned char> bytes;
  };
  const Case cases[] = {
      // A version 2 copy block: size index 2, distance 100 in 10 bits,
      // contrast 0x45, brightness 0x103, then the next block's kind bit 0.
      {"copy block", {{1, 1}, {2, 3}, {100, 10}, {0x45, 8}, {0x103, 9}, {0, 1}}, {0x06, 0x16, 0x91, 0xA1}},
      {"only the low bits are kept", {{0xFFFFFFFF, 4}, {0, 28}}, {0x00, 0x00, 0x00, 0xF0}},
      {"a field across two words", {{0, 30}, {0xF, 4}}, {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0}},
      {"whole words", {{0x12345678, 32}, {0x9ABCDEF0, 32}}, {0x78, 0x56, 0x34, 0x12, 0xF0, 0xDE, 0xBC, 0x9A}},
      {"flush pads with zeros", {{1, 1}}, {0x00, 0x00, 0x00, 0x80}},
      {"exact word end leaves nothing to flush", {{0, 16}, {0xFFFF, 16}}, {0xFF, 0xFF, 0x00, 0x00}},
      {"a width of 0 puts nothing", {{1, 1}, {0xFFFFFFFF, 0}, {1, 1}}, {0x00, 0x00, 0x00, 0xC0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TkwBitWriter writer;
    for (auto [value, width] : c.fields)
      writer.Put(value, width);
    std::uint64_t bits = 0;
    for (auto [value, width] : c.fields)
      bits += static_cast<std::uint64_t>(width);
    EXPECT_EQ(writer.BitCount(), bits);
    writer.Flush();
    EXPECT_EQ(writer.Bytes(), c.bytes);
  }
}

struct ReadStep {
  int bits;
  std::uint32_t value;
  int bitsLeftAfter;
};

struct BitCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  std::vector<ReadStep> steps;
};

TEST(TkwBitReaderTest, FieldsTakeBitsFromTheTopOfLittleEndianWords) {
  const BitCase cases[] = {
      {"first word 0x80000000 starts with a one", {0x00, 0x00, 0x00, 0x80}, {{1, 1, 31}, {31, 0, 32}}},
      {"first word 0x00000080 starts with a zero", {0x80, 0x00, 0x00, 0x00}, {{1, 0, 31}, {31, 0x80, 32}}},
      {"fields straddle words",
       {0x78, 0x56, 0x34, 0x12, 0xF0, 0xDE, 0xBC, 0x9A},
       {{20, 0x12345, 12}, {0, 0, 12}, {24, 0x6789AB, 20}, {20, 0xCDEF0, 32}}},
      {"a field ending on a word boundary leaves the next word whole",
       {0x78, 0x56, 0x34, 0x12, 0xF0, 0xDE, 0xBC, 0x9A},
       {{32, 0x12345678, 32}, {4, 0x9, 28}}},
      {"a chunk cut inside a word reads zero bits after its bytes",
       {0xAA, 0xBB, 0xCC},
       {{8, 0x00, 24}, {24, 0xCCBBAA, 32}, {32, 0, 32}, {7, 0, 25}}},
      {"an empty chunk reads zeros", {}, {{32, 0, 32}, {1, 0, 31}}},
  };
  TkwBitReader reader;
  for (const BitCase& c : cases) {
    SCOPED_TRACE(c.name);
    reader.Start(c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size()));
    for (const ReadStep& step : c.steps) {
      EXPECT_EQ(reader.Read(step.bits), step.value) << step.bits << " bits";
      EXPECT_EQ(reader.BitsLeft(), step.bitsLeftAfter);
    }
  }
}

TEST(TkwBitReaderTest, ReadsBackWhatTheWriterWrote) {
  std::mt19937 rng(5);
  std::vector<std::pair<int, std::uint32_t>> fields;
  TkwBitWriter writer;
  for (int i = 0; i < 2000; ++i) {
    const int bits = static_cast<int>(rng() % 33);
    const std::uint32_t value = bits == 0 ? 0 : static_cast<std::uint32_t>(rng()) >> (32 - bits);
    fields.emplace_back(bits, value);
    writer.Put(value, bits);
  }
  writer.Flush();
  const auto bytes = writer.Bytes();
  TkwBitReader reader;
  reader.Start(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  for (auto [bits, value] : fields)
    ASSERT_EQ(reader.Read(bits), value) << bits;
}

} // namespace
