#include "testutil/TkwTestWriter.h"

#include "format/TkwBitWriter.h"
#include "format/TkwFileLayout.h"
#include "format/TkwFormat.h"

#include <cmath>

namespace testutil {
namespace {

using tkw::kHistoryLength;
using tkw::kSectorLength;

// The decoded values, written out again from the format's definitions: the
// model must not share the decoder's tables, or it could not find a fault in
// them.
std::int32_t V2Length(std::uint32_t code) { return code == 0 ? 6 : 4 << code; }

std::int32_t V2Literal(std::uint32_t code) {
  const std::int32_t m = code & 127;
  return code >= 128 ? -2 * m * m : 2 * m * m;
}

std::int32_t V2Contrast(std::uint32_t code) {
  const std::int32_t j = code & 127;
  std::int32_t value;
  if (j < 64) {
    const double r = (63.0 - j) / 63.0;
    value = static_cast<std::int32_t>(std::floor(65536.0 * (1.0 - r * r)));
  } else {
    value = 65536 + 32 * (j - 64) * (j - 64);
  }
  return code >= 128 ? -value : value;
}

std::int32_t V2Brightness(std::uint32_t code) {
  const std::int32_t j = code & 255;
  return code >= 256 ? -16384 * j * j : 16384 * j * j;
}

double V1Scale(std::uint16_t limit, std::uint32_t code, int bits) {
  if (bits == 0) return 0.0;
  std::int64_t x = code;
  if ((x >> (bits - 1)) & 1) x -= std::int64_t{1} << bits;
  return static_cast<double>(limit) * static_cast<double>(x) / std::ldexp(1.0, bits - 1);
}

std::uint32_t Mask(int bits) { return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1; }

TkwHeaderValues HeaderValues(const TkwSoundLayout& layout) {
  const TkwCodecParams& c = layout.codec;
  TkwHeaderValues header =
      MakeTkwHeaderValues(static_cast<std::uint32_t>(c.version), layout.length, layout.sampleRate, layout.channels);
  header.offsetBits = c.offsetBits;
  header.contrastLimit = c.contrastLimit;
  header.brightnessLimit = c.brightnessLimit;
  header.contrastBits = c.contrastBits;
  header.brightnessBits = c.brightnessBits;
  return header;
}

} // namespace

std::vector<std::uint8_t> EncodeTkwChunk(const TkwCodecParams& codec, const std::vector<TkwBlock>& blocks) {
  TkwBitWriter writer;
  for (const TkwBlock& block : blocks) {
    if (const auto* literal = std::get_if<TkwLiteralBlock>(&block)) {
      writer.Put(0, 1);
      for (std::uint32_t code : literal->codes)
        writer.Put(code, codec.version == 1 ? 16 : 8);
      continue;
    }
    const auto& copy = std::get<TkwCopyBlock>(block);
    writer.Put(1, 1);
    if (codec.version == 3) writer.Put(copy.flag, 1);
    writer.Put(copy.sizeCode, 3);
    writer.Put(copy.distance, codec.offsetBits);
    writer.Put(copy.contrast, codec.version == 1 ? codec.contrastBits : 8);
    writer.Put(copy.brightness, codec.version == 1 ? codec.brightnessBits : 9);
  }
  writer.Flush();
  return writer.Bytes();
}

std::uint32_t TkwTableOffset(int version) { return version == 1 ? tkw::kHeaderSizeV1 : tkw::kHeaderSizeV2; }

std::uint32_t TkwDataOffset(const TkwSoundLayout& layout) {
  return TkwTableOffset(layout.codec.version) + tkw::kTableEntrySize * static_cast<std::uint32_t>(layout.chunks.size());
}

std::vector<std::uint8_t> BuildTkwFile(const TkwSoundLayout& layout) {
  TkwSectorTable table;
  std::uint32_t offset = 0;
  for (const auto& chunk : layout.chunks) {
    table.push_back({offset, static_cast<std::uint32_t>(chunk.size())});
    offset += static_cast<std::uint32_t>(chunk.size());
  }
  TkwHeaderValues header = HeaderValues(layout);
  // The entry count follows from length and channels; a layout naming
  // another number of chunks makes a damaged file on purpose.
  std::vector<std::uint8_t> out = TkwFileHeaderBytes(header, table);
  for (const auto& chunk : layout.chunks)
    out.insert(out.end(), chunk.begin(), chunk.end());
  return out;
}

std::vector<std::int16_t> TkwModelSamples(const TkwCodecParams& codec, const std::vector<TkwBlock>& blocks,
                                          std::int32_t frames) {
  std::vector<std::int16_t> x(kHistoryLength, 0);
  for (const TkwBlock& block : blocks) {
    if (static_cast<std::int32_t>(x.size()) - kHistoryLength >= frames) break;
    if (const auto* literal = std::get_if<TkwLiteralBlock>(&block)) {
      for (std::uint32_t code : literal->codes)
        x.push_back(static_cast<std::int16_t>(codec.version == 1 ? code : V2Literal(code)));
      continue;
    }
    const auto& copy = std::get<TkwCopyBlock>(block);
    if (codec.version == 1) {
      const double contrast = V1Scale(codec.contrastLimit, copy.contrast, codec.contrastBits);
      const double brightness = V1Scale(codec.brightnessLimit, copy.brightness, codec.brightnessBits);
      for (std::int32_t i = 0; i < (4 << copy.sizeCode); ++i) {
        const double s = x[x.size() - copy.distance - 1];
        x.push_back(static_cast<std::int16_t>(static_cast<std::int64_t>(s * contrast + brightness)));
      }
    } else {
      const std::int64_t contrast = V2Contrast(copy.contrast);
      const std::int64_t brightness = V2Brightness(copy.brightness);
      for (std::int32_t i = 0; i < V2Length(copy.sizeCode); ++i) {
        const std::int64_t s = x[x.size() - copy.distance - 1];
        // Wrap to 32 bits, shift arithmetically, keep 16 bits.
        const auto wrapped = static_cast<std::int32_t>(static_cast<std::uint32_t>(s * contrast + brightness));
        x.push_back(static_cast<std::int16_t>(wrapped >> 16));
      }
    }
  }
  x.resize(static_cast<std::size_t>(kHistoryLength) + static_cast<std::size_t>(frames), 0);
  return std::vector<std::int16_t>(x.begin() + kHistoryLength, x.end());
}

std::vector<TkwBlock> RandomTkwBlocks(std::mt19937& rng, const TkwCodecParams& codec, std::int32_t frames) {
  std::vector<TkwBlock> blocks;
  std::int32_t produced = 0;
  const bool v1 = codec.version == 1;
  while (produced < frames) {
    if (rng() % 4 == 0) {
      TkwLiteralBlock literal;
      for (int i = 0; i < (v1 ? 16 : 4); ++i)
        literal.codes.push_back(rng() & (v1 ? 0xFFFFu : 0xFFu));
      produced += v1 ? 16 : 4;
      blocks.push_back(literal);
      continue;
    }
    TkwCopyBlock copy;
    copy.sizeCode = rng() % 8;
    copy.distance = rng() & Mask(codec.offsetBits);
    copy.contrast = rng() & Mask(v1 ? codec.contrastBits : 8);
    copy.brightness = rng() & Mask(v1 ? codec.brightnessBits : 9);
    copy.flag = codec.version == 3 ? rng() % 2 : 0;
    produced += v1 ? 4 << copy.sizeCode : V2Length(copy.sizeCode);
    blocks.push_back(copy);
  }
  return blocks;
}

TkwTestSound MakeRandomTkwSound(std::uint32_t seed, const TkwCodecParams& codec, std::uint8_t channels,
                                std::uint32_t length, std::uint32_t sampleRate) {
  std::mt19937 rng(seed);
  TkwTestSound sound;
  sound.layout.codec = codec;
  sound.layout.length = length;
  sound.layout.sampleRate = sampleRate;
  sound.layout.channels = channels;
  sound.pcm.assign(std::size_t{length} * channels, 0);
  const std::uint32_t sectors = tkw::SectorCount(length);
  for (std::uint32_t s = 0; s < sectors; ++s) {
    const std::int32_t frames = tkw::SectorFrames(length, s);
    for (std::uint8_t c = 0; c < channels; ++c) {
      const auto blocks = RandomTkwBlocks(rng, codec, frames);
      sound.layout.chunks.push_back(EncodeTkwChunk(codec, blocks));
      const auto samples = TkwModelSamples(codec, blocks, frames);
      for (std::int32_t i = 0; i < frames; ++i)
        sound.pcm[(std::size_t{s} * kSectorLength + static_cast<std::size_t>(i)) * channels + c] = samples[i];
    }
  }
  sound.bytes = BuildTkwFile(sound.layout);
  return sound;
}

} // namespace testutil
