// The bit stream and the codes, checked against hand-made expectations.
#include "encoder/EncoderSettings.h"
#include "encoder/QuantiserA.h"
#include "encoder/QuantiserB.h"
#include "encoder/TkwWriterV1.h"
#include "encoder/TkwWriterV2.h"
#include "encoder/TkwWriterV3.h"
#include "format/TkwBitWriter.h"

#include "EncoderFixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

// Reads fields back the way the format defines them, to look at chunk starts.
class BitCursor {
public:
  explicit BitCursor(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}
  std::uint32_t Take(int width) {
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i, ++bit_) {
      const std::uint32_t word =
          enc_test::Le32(std::vector<std::uint8_t>(bytes_.begin(), bytes_.end()), (bit_ / 32) * 4);
      value = (value << 1) | ((word >> (31 - bit_ % 32)) & 1);
    }
    return value;
  }

private:
  const std::vector<unsigned char>& bytes_;
  std::size_t bit_ = 0;
};

std::vector<unsigned char> EncodeChunk(int version, const EncoderSettings& settings,
                                       const std::vector<std::int16_t>& samples) {
  enc_test::RecordingCallbacks callbacks;
  ErrorNotice notice;
  EncodeContext context{settings, callbacks, notice};
  std::unique_ptr<TkwWriter> writer;
  if (version == 1) writer = std::make_unique<TkwWriterV1>(context);
  if (version == 2) writer = std::make_unique<TkwWriterV2>(context);
  if (version == 3) writer = std::make_unique<TkwWriterV3>(context);
  TkwBitWriter bits;
  writer->EncodeChunk(bits, samples.data(), static_cast<int>(samples.size()), samples.size(), 0);
  bits.Flush();
  return bits.Bytes();
}

} // namespace

TEST(Quantisers, CodesAndValues) {
  struct Case {
    const char* what;
    std::uint16_t (*code)(double, double*);
    double input;
    std::uint16_t expectedCode;
    double expectedValue;
  };
  const QuantiserA contrast8(8, 3);
  const QuantiserA brightness9(9, 15000);
  static const QuantiserA* a = nullptr;
  static const QuantiserA* b = nullptr;
  a = &contrast8;
  b = &brightness9;
  auto contrastA = [](double v, double* coded) { return a->Code(v, coded); };
  auto brightnessA = [](double v, double* coded) { return b->Code(v, coded); };
  const Case cases[] = {
      {"B contrast 1.0", quantiser_b::ContrastCode, 1.0, 0x40, 1.0},
      {"B contrast -0.5", quantiser_b::ContrastCode, -0.5, 0x93, -(1 - 44.0 * 44.0 / 3969)},
      {"B contrast 0", quantiser_b::ContrastCode, 0.0, 0x00, 1 - 63.0 * 63.0 * 0.0002519526329050139},
      {"B contrast beyond the range", quantiser_b::ContrastCode, 1e9, 0x7F, 1 + 63.0 * 63.0 / 2048},
      {"B contrast 2.5", quantiser_b::ContrastCode, 2.5, 0x40 | 55, 1 + 55.0 * 55.0 / 2048},
      {"B brightness 100", quantiser_b::BrightnessCode, 100, 20, 100},
      {"B brightness -101", quantiser_b::BrightnessCode, -101, 0x114, -100},
      {"B brightness beyond the range", quantiser_b::BrightnessCode, -1e12, 0x1FF, -16256.25},
      {"A contrast above the limit", contrastA, 5.0, 127, 127 * 3 / 128.0},
      {"A contrast below -limit", contrastA, -5.0, 0x80, -3.0},
      {"A contrast -limit exactly", contrastA, -3.0, 0x80, -3.0},
      {"A contrast 1.5", contrastA, 1.5, 64, 1.5},
      {"A contrast truncates toward zero", contrastA, -0.03, 0xFF, -3 / 128.0},
      {"A brightness -100", brightnessA, -100.0, 0x1FF, -15000 / 256.0},
      {"A brightness -200", brightnessA, -200.0, 0x1FD, -3 * 15000 / 256.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    double value = 12345;
    EXPECT_EQ(c.code(c.input, &value), c.expectedCode);
    EXPECT_DOUBLE_EQ(value, c.expectedValue);
  }
  double one = 0;
  EXPECT_EQ(quantiser_b::ContrastValue(63), 1.0);
  EXPECT_EQ(quantiser_b::ContrastValue(64), 1.0);
  EXPECT_EQ(quantiser_b::ContrastValue(191), -1.0);
  EXPECT_EQ(quantiser_b::ContrastCode(1.0, &one), 0x40);
}

TEST(Quantisers, LiteralCodes) {
  const struct {
    std::int16_t sample;
    std::uint8_t code;
    std::int16_t value;
  } cases[] = {{-32768, 0xFF, -32258}, {32767, 0x7F, 32258}, {1, 0x00, 0}, {-1, 0x80, 0},
               {2, 0x01, 2},           {-200, 0x8A, -200},   {0, 0x00, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sample);
    EXPECT_EQ(quantiser_b::LiteralCode(c.sample), c.code);
    EXPECT_EQ(quantiser_b::LiteralValue(c.code), c.value);
  }
}

// All-zero chunks: version 1 and 3 grow every block to 512 samples, version 2
// codes silence in blocks of the smallest length; every field is 0.
TEST(ChunkLayout, SilentChunks) {
  const struct {
    int version;
    int minBits;
    std::vector<std::pair<int, std::uint32_t>> firstBlock; // (width, value)
    int blockBits;
    int samplesPerBlock;
  } cases[] = {
      {1, 1, {{1, 1}, {3, 7}, {10, 0}, {8, 0}, {9, 0}}, 31, 512},
      {2, 1, {{1, 1}, {3, 0}, {10, 0}, {8, 0}, {9, 0}}, 31, 6},
      {2, 0, {{1, 1}, {3, 1}, {10, 0}, {8, 0}, {9, 0}}, 31, 8},
      {3, 1, {{1, 1}, {1, 0}, {3, 7}, {10, 0}, {8, 0}, {9, 0}}, 32, 512},
  };
  const std::vector<std::int16_t> silence(1500, 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.version << " min bits " << c.minBits);
    EncoderSettings settings;
    settings.bEncodeMinBits = c.minBits;
    const std::vector<unsigned char> bytes = EncodeChunk(c.version, settings, silence);
    const int blocks = (1500 + c.samplesPerBlock - 1) / c.samplesPerBlock;
    EXPECT_EQ(bytes.size(), static_cast<std::size_t>((blocks * c.blockBits + 31) / 32 * 4));
    BitCursor cursor(bytes);
    for (int block = 0; block < blocks; ++block)
      for (auto [width, value] : c.firstBlock)
        ASSERT_EQ(cursor.Take(width), value) << "block " << block;
  }
}

// Noise with no tolerance cannot be copied: version 1 starts with a literal
// block of the exact samples.
TEST(ChunkLayout, Version1LiteralFirstBlock) {
  std::vector<std::int16_t> noise(64);
  std::mt19937 random(7);
  for (auto& s : noise)
    s = static_cast<std::int16_t>(std::uniform_int_distribution<int>(-32768, 32767)(random));
  noise[0] = -12345;
  EncoderSettings settings;
  settings.MaxError2 = 0;
  const std::vector<unsigned char> bytes = EncodeChunk(1, settings, noise);
  ASSERT_GE(bytes.size(), 4u);
  const std::uint32_t first = enc_test::Le32(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), 0);
  EXPECT_EQ(first >> 31, 0u);
  EXPECT_EQ((first >> 15) & 0xFFFF, static_cast<std::uint16_t>(-12345));
  BitCursor cursor(bytes);
  for (int block = 0; block < 4; ++block) {
    ASSERT_EQ(cursor.Take(1), 0u) << "block " << block;
    for (int j = 0; j < 16; ++j)
      EXPECT_EQ(cursor.Take(16), static_cast<std::uint16_t>(noise[block * 16 + j]));
  }
}

// A tolerance above 2047 makes L x MaxError2^2 exceed 32 bits at L = 512; the
// threshold must not wrap, so any block of noise is accepted at full length.
TEST(ChunkLayout, LargeToleranceDoesNotWrap) {
  std::vector<std::int16_t> noise(600);
  std::mt19937 random(3);
  for (auto& s : noise)
    s = static_cast<std::int16_t>(std::uniform_int_distribution<int>(-3000, 3000)(random));
  const struct {
    int version;
    std::vector<std::pair<int, std::uint32_t>> start; // kind bit (and flag), size field
  } cases[] = {{1, {{1, 1}, {3, 7}}},
               // First fit: every length accepts its first distance, which
               // jumps to L / 2 as the block grows (3, 4, 8, ... 256).
               {2, {{1, 1}, {3, 7}, {10, 256}}},
               {3, {{1, 1}, {1, 0}, {3, 7}}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    EncoderSettings settings;
    settings.MaxError2 = 40000;
    const std::vector<unsigned char> bytes = EncodeChunk(c.version, settings, noise);
    BitCursor cursor(bytes);
    for (auto [width, value] : c.start)
      EXPECT_EQ(cursor.Take(width), value);
  }
}

// The same samples and settings give the same bytes on every platform and
// build: fingerprints of chunks made from an integer-only signal (no libm).
TEST(ChunkLayout, SameBytesOnEveryBuild) {
  std::vector<std::int16_t> signal(6000);
  std::uint32_t lcg = 12345;
  for (std::size_t i = 0; i < signal.size(); ++i) {
    lcg = lcg * 1103515245u + 12345u;
    const int saw = static_cast<int>(i % 97) * 300 - 14400;
    const int triangle = static_cast<int>(i % 160 < 80 ? i % 160 : 160 - i % 160) * 150 - 6000;
    const int envelope = static_cast<int>((i / 700) % 4); // pauses and three loudness steps
    const int noise = static_cast<int>((lcg >> 16) % 801) - 400;
    signal[i] = static_cast<std::int16_t>((saw + triangle) * envelope / 3 + noise);
  }
  const struct {
    int version;
    int destBits;
    std::uint64_t fingerprint;
  } cases[] = {{1, 10, 2235076258944781047ull},
               {2, 10, 10078164915259668082ull},
               {3, 10, 14200328050861072892ull},
               {2, 12, 14078614392749531987ull}};
  for (const auto& c : cases) {
    EncoderSettings settings;
    settings.DestBits = c.destBits;
    const std::vector<unsigned char> bytes = EncodeChunk(c.version, settings, signal);
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (unsigned char b : bytes)
      hash = (hash ^ b) * 1099511628211ull;
    EXPECT_EQ(hash, c.fingerprint) << "version " << c.version << " dest bits " << c.destBits << " size "
                                   << bytes.size();
  }
}
