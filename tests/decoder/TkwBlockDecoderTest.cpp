// The chunk level: the samples literal and copy blocks of every version
// produce.
#include "decoder/TkwBlockDecoderV1.h"
#include "decoder/TkwBlockDecoderV2.h"
#include "decoder/TkwChannelBuffer.h"
#include "format/TkwBitReader.h"
#include "format/TkwHeader.h"
#include "testutil/TkwTestWriter.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using testutil::TkwBlock;
using testutil::TkwCodecParams;
using testutil::TkwCopyBlock;
using testutil::TkwLiteralBlock;

struct BlockCase {
  const char* name;
  TkwCodecParams codec;
  std::vector<TkwBlock> blocks;
  std::vector<std::int16_t> expected; // the samples a chunk of these blocks decodes to
};

TkwCodecParams Codec(int version, std::uint8_t offsetBits = 10) {
  TkwCodecParams codec;
  codec.version = version;
  codec.offsetBits = offsetBits;
  return codec;
}

TkwCodecParams V1(std::uint8_t contrastBits, std::uint8_t brightnessBits) {
  TkwCodecParams codec = Codec(1, 8);
  codec.contrastLimit = 3;
  codec.brightnessLimit = 15000;
  codec.contrastBits = contrastBits;
  codec.brightnessBits = brightnessBits;
  return codec;
}

TkwLiteralBlock Literal16(std::uint16_t sample) { return TkwLiteralBlock{std::vector<std::uint32_t>(16, sample)}; }

std::vector<std::int16_t> Repeat(std::int16_t value, int count) { return std::vector<std::int16_t>(count, value); }

std::vector<std::int16_t> Concat(std::vector<std::int16_t> a, const std::vector<std::int16_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<BlockCase> BlockCases() {
  return {
      {"v2 literal codes map through the table", Codec(2), {TkwLiteralBlock{{1, 129, 127, 0}}}, {2, -2, 32258, 0}},
      {"v2 length code 0 copies 6 samples, overlapping its own output",
       Codec(2),
       {TkwLiteralBlock{{10, 0, 0, 0}}, TkwCopyBlock{0, 3, 63, 0}, TkwLiteralBlock{{1, 1, 1, 1}}},
       {200, 0, 0, 0, 200, 0, 0, 0, 200, 0, 2, 2, 2, 2}},
      {"v2 distance 0 steps from the sample just before",
       Codec(2),
       {TkwLiteralBlock{{0, 0, 0, 100}}, TkwCopyBlock{1, 0, 63, 2}},
       {0, 0, 0, 20000, 20001, 20002, 20003, 20004, 20005, 20006, 20007, 20008}},
      {"v2 copies before the sector start read zeros",
       Codec(2, 14),
       {TkwCopyBlock{0, 16383, 127, 4}, TkwCopyBlock{0, 100, 63, 256 + 4}},
       Concat(Repeat(4, 6), Repeat(-4, 6))},
      {"v2 product and sum wrap modulo 2^32",
       Codec(2),
       {TkwLiteralBlock{{0, 0, 0, 127}}, TkwCopyBlock{0, 0, 127, 0}},
       {0, 0, 0, 32258, 29237, 20361, -5716, -16794, 16195, -17956}},
      {"v2 negative contrast with brightness wraps too",
       Codec(2),
       {TkwLiteralBlock{{0, 0, 0, 255}}, TkwCopyBlock{0, 0, 127, 255}},
       {0, 0, 0, -32258, -12982, -21885, 17494, 2117, 22475, 16751}},
      {"v3 reads and ignores the flag bit of copy blocks",
       Codec(3),
       {TkwLiteralBlock{{0, 0, 0, 100}}, TkwCopyBlock{1, 0, 63, 2, 1}, TkwCopyBlock{0, 11, 63, 0, 0}},
       Concat({0, 0, 0, 20000, 20001, 20002, 20003, 20004, 20005, 20006, 20007, 20008},
              {0, 0, 0, 20000, 20001, 20002})},
      {"v1 literals are raw 16-bit samples",
       V1(8, 9),
       {TkwLiteralBlock{{0, 1, 0x7FFF, 0x8000, 0xFFFF, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}}},
       {0, 1, 32767, -32768, -1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"v1 with 0 contrast bits yields only the brightness",
       V1(0, 9),
       {Literal16(1000), TkwCopyBlock{0, 0, 0, 1}},
       Concat(Repeat(1000, 16), Repeat(58, 4))},
      {"v1 truncates toward zero, step by step from the sample before",
       V1(8, 9),
       {Literal16(1000), TkwCopyBlock{0, 0, 64, 0x1FF}, Literal16(static_cast<std::uint16_t>(-1000)),
        TkwCopyBlock{0, 0, 64, 0x1FF}},
       Concat(Concat(Repeat(1000, 16), {1441, 2102, 3094, 4582}),
              Concat(Repeat(-1000, 16), {-1558, -2395, -3651, -5535}))},
      {"v1 keeps the low 16 bits",
       V1(8, 9),
       {Literal16(30000), TkwCopyBlock{0, 0, 64, 0x1FF}},
       Concat(Repeat(30000, 16), {-20595, -30951, 19051, 28517})},
      {"v1 32-bit fields",
       [] {
         TkwCodecParams c = V1(32, 32);
         return c;
       }(),
       {Literal16(1000), TkwCopyBlock{0, 0, 0x40000000u, 0x80000000u}},
       Concat(Repeat(1000, 16), {-13500, 30286, 30429, 30643})},
  };
}

std::unique_ptr<TkwBlockDecoder> MakeDecoder(const TkwCodecParams& codec) {
  if (codec.version == 1)
    return std::make_unique<TkwBlockDecoderV1>(codec.contrastLimit, codec.brightnessLimit, codec.contrastBits,
                                               codec.brightnessBits, codec.offsetBits);
  return std::make_unique<TkwBlockDecoderV2>(codec.offsetBits, codec.version == 3);
}

TEST(TkwBlockDecoderTest, BlocksProduceTheirSamples) {
  for (const BlockCase& c : BlockCases()) {
    SCOPED_TRACE(c.name);
    const auto chunk = testutil::EncodeTkwChunk(c.codec, c.blocks);
    const auto decoder = MakeDecoder(c.codec);
    const auto count = static_cast<std::int32_t>(c.expected.size());
    TkwBitReader reader;
    TkwChannelBuffer buffer;
    reader.Start(chunk.data(), static_cast<std::uint32_t>(chunk.size()));
    EXPECT_EQ(decoder->Decode(buffer.Sector(), reader, count), count);
    EXPECT_EQ(std::vector<std::int16_t>(buffer.Sector(), buffer.Sector() + count), c.expected);
    // The model the other tests compare with agrees.
    EXPECT_EQ(testutil::TkwModelSamples(c.codec, c.blocks, count), c.expected);
  }
}

TEST(TkwBlockDecoderTest, StopsAfterTheBlockThatReachesTheCountAndContinuesLater) {
  const TkwCodecParams codec = Codec(2);
  const std::vector<TkwBlock> blocks = {TkwLiteralBlock{{1, 2, 3, 4}}, TkwCopyBlock{7, 3, 63, 1},
                                        TkwLiteralBlock{{5, 6, 7, 8}}};
  const auto chunk = testutil::EncodeTkwChunk(codec, blocks);
  const auto expected = testutil::TkwModelSamples(codec, blocks, 520);
  TkwBlockDecoderV2 decoder(codec.offsetBits);
  TkwBitReader reader;
  TkwChannelBuffer buffer;
  reader.Start(chunk.data(), static_cast<std::uint32_t>(chunk.size()));
  EXPECT_EQ(decoder.Decode(buffer.Sector(), reader, 3), 4);
  EXPECT_EQ(decoder.Decode(buffer.Sector() + 4, reader, 1), 512); // the surplus lands past the count
  EXPECT_EQ(decoder.Decode(buffer.Sector() + 516, reader, 0), 0);
  EXPECT_EQ(decoder.Decode(buffer.Sector() + 516, reader, 4), 4);
  EXPECT_EQ(std::vector<std::int16_t>(buffer.Sector(), buffer.Sector() + 520), expected);
}

TEST(TkwBlockDecoderTest, CloneKeepsTheParameters) {
  for (const BlockCase& c : BlockCases()) {
    SCOPED_TRACE(c.name);
    const auto clone = MakeDecoder(c.codec)->Clone();
    const auto chunk = testutil::EncodeTkwChunk(c.codec, c.blocks);
    TkwBitReader reader;
    TkwChannelBuffer buffer;
    reader.Start(chunk.data(), static_cast<std::uint32_t>(chunk.size()));
    clone->Decode(buffer.Sector(), reader, static_cast<std::int32_t>(c.expected.size()));
    EXPECT_EQ(std::vector<std::int16_t>(buffer.Sector(), buffer.Sector() + c.expected.size()), c.expected);
    EXPECT_EQ(clone->SectorLength(), 131072);
  }
}

} // namespace
