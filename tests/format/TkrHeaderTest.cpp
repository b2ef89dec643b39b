#include "format/TkrHeader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CheckWordCase {
  const char* title;
  std::uint32_t length;
  std::string password;
  std::uint32_t expected;
};

TEST(TkrHeader, CheckWords) {
  std::string twentySix(26, '\0');
  twentySix[24] = 1; // the 25th byte is shifted by 24
  twentySix[25] = 3; // the 26th starts again unshifted
  const std::vector<CheckWordCase> cases = {
      {"no password", 1000, "", 680},
      {"lengths can share a mix value", 1, "", 2},
      {"mix of 2", 2, "", 2},
      {"mix of 3", 3, "", 2},
      {"only odd bits are ever set", 0xFFFFFFFFu, "", 0xAAAAAAAAu},
      {"one byte adds unshifted", 1000, "A", 680 + 65},
      {"the second byte shifts by 1, the third by 2", 1000, "ABC", 680 + 65 + (66 << 1) + (67 << 2)},
      {"bytes above 127 count unsigned", 1000, "\xff", 680 + 255},
      {"the 25th and 26th bytes", 0, twentySix, (1u << 24) + 3},
      {"the sum wraps modulo 2^32", 0xAAAAAAAAu, std::string(25, '\xff'), 0xAAAAAAAAu + 255u * 0x1FFFFFFu},
  };
  for (const CheckWordCase& c : cases) {
    SCOPED_TRACE(c.title);
    EXPECT_EQ(TkrHeader::CheckWord(c.length, c.password), c.expected);
  }
}

TEST(TkrHeader, StoresAndLoadsLittleEndian) {
  TkrHeader header;
  header.totalLength = 0x04030201;
  header.checkWord = 0x08070605;
  header.layout = 2;
  header.count = 0x0B0A;
  unsigned char bytes[TkrHeader::kSize];
  header.Store(bytes);
  const unsigned char expected[TkrHeader::kSize] = {'T', 'k', 'r', '.', 1, 2, 3, 4, 5, 6, 7, 8, 2, 0, 0x0A, 0x0B};
  EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + 16), std::vector<unsigned char>(expected, expected + 16));
  const TkrHeader loaded = TkrHeader::Load(bytes);
  EXPECT_TRUE(loaded.HasMagic());
  EXPECT_EQ(loaded.totalLength, header.totalLength);
  EXPECT_EQ(loaded.checkWord, header.checkWord);
  EXPECT_EQ(loaded.count, header.count);
  EXPECT_TRUE(loaded.HasPassword());
}

} // namespace
