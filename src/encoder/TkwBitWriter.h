// The bit stream of one chunk: fields are packed from the most significant
// bit of 32-bit words, which are stored little-endian.
#pragma once

#include <cstdint>
#include <vector>

class TkwBitWriter {
public:
  static constexpr std::size_t kMaxWords = 131072; // the largest chunk, 524288 bytes

  TkwBitWriter() { words_.reserve(kMaxWords); }

  // Appends the low `width` bits (1...32) of the value, most significant first.
  void Put(std::uint32_t value, int width);
  // Stores a partly filled word, its unused low bits 0.
  void Flush();

  std::size_t WordCount() const { return words_.size(); }
  // The stored words as little-endian bytes.
  std::vector<unsigned char> Bytes() const;

private:
  std::vector<std::uint32_t> words_;
  std::uint32_t accumulator_ = 0;
  int bits_ = 0;
};
