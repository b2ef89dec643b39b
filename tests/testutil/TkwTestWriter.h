// Builds small .tkw sounds for tests: chunks from literal and copy blocks,
// complete files (version 1, 2 and 3 headers with their sector tables, as
// the format writes them), random sounds, and a plain model of what a chunk
// decodes to, so that tests can compare decoders with known samples.
#pragma once

#include <cstdint>
#include <random>
#include <variant>
#include <vector>

namespace testutil {

// Four 8-bit codes (versions 2 and 3) or sixteen 16-bit codes (version 1).
struct TkwLiteralBlock {
  std::vector<std::uint32_t> codes;
};

struct TkwCopyBlock {
  std::uint32_t sizeCode = 0; // 3 bits
  std::uint32_t distance = 0; // offset-bits wide; the source is distance + 1 back
  std::uint32_t contrast = 0;
  std::uint32_t brightness = 0;
  std::uint32_t flag = 0; // version 3 only
};

using TkwBlock = std::variant<TkwLiteralBlock, TkwCopyBlock>;

struct TkwCodecParams {
  int version = 2; // 1 ("Tkw@"), 2 ("Tkw$"), 3 ("Tkw$", format word 3, flag bit)
  std::uint8_t offsetBits = 10;
  // Version 1 only.
  std::uint16_t contrastLimit = 3;
  std::uint16_t brightnessLimit = 15000;
  std::uint8_t contrastBits = 8;
  std::uint8_t brightnessBits = 9;
};

std::vector<std::uint8_t> EncodeTkwChunk(const TkwCodecParams& codec, const std::vector<TkwBlock>& blocks);

struct TkwSoundLayout {
  TkwCodecParams codec;
  std::uint32_t length = 0;
  std::uint32_t sampleRate = 44100;
  std::uint8_t channels = 1;
  // In table order: sector 0 channel 0, sector 0 channel 1, sector 1 channel 0, …
  std::vector<std::vector<std::uint8_t>> chunks;
};

// Header, sector table (chunks back to back from offset 0) and data area.
std::vector<std::uint8_t> BuildTkwFile(const TkwSoundLayout& layout);
// Offset of the sector table and of the data area in a built file.
std::uint32_t TkwTableOffset(int version);
std::uint32_t TkwDataOffset(const TkwSoundLayout& layout);

// What the blocks decode to in a sector of `frames` frames, with zero history:
// blocks run until at least `frames` samples exist; the surplus is cut.
std::vector<std::int16_t> TkwModelSamples(const TkwCodecParams& codec, const std::vector<TkwBlock>& blocks,
                                          std::int32_t frames);

// Random valid blocks covering at least `frames` samples.
std::vector<TkwBlock> RandomTkwBlocks(std::mt19937& rng, const TkwCodecParams& codec, std::int32_t frames);

struct TkwTestSound {
  TkwSoundLayout layout;
  std::vector<std::uint8_t> bytes;
  std::vector<std::int16_t> pcm; // interleaved, length × channels samples
};

// A whole random sound with its expected samples.
TkwTestSound MakeRandomTkwSound(std::uint32_t seed, const TkwCodecParams& codec, std::uint8_t channels,
                                std::uint32_t length, std::uint32_t sampleRate = 44100);

} // namespace testutil
