// The bit stream of one chunk: fields are packed from the most significant
// bit of 32-bit words, which are stored little-endian; the inverse of
// TkwBitReader.
#pragma once

#include "format/TkwFormat.h"

#include <cstdint>
#include <vector>

class TkwBitWriter {
public:
  static constexpr std::size_t kMaxWords = tkw::kMaxChunkSize / 4;

  TkwBitWriter() { words_.reserve(kMaxWords); }

  // Appends the low `width` bits (0...32) of the value, most significant
  // first; a width of 0 appends nothing.
  void Put(std::uint32_t value, int width);
  // Stores a partly filled word, its unused low bits 0: a chunk ends on a
  // whole word.
  void Flush();

  std::size_t WordCount() const { return words_.size(); }
  // Bits put since the start, whole words and the partly filled one.
  std::uint64_t BitCount() const { return std::uint64_t{words_.size()} * 32 + static_cast<std::uint64_t>(bits_); }
  // The stored words as little-endian bytes.
  std::vector<unsigned char> Bytes() const;

private:
  std::vector<std::uint32_t> words_;
  std::uint32_t accumulator_ = 0;
  int bits_ = 0;
};
