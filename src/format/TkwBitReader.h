// Reads the fields of one chunk: 32-bit little-endian words, bits taken from
// the most significant end, a field's first bit being its most significant.
//
// The reader owns a chunk buffer of the largest chunk it is to hold (at most
// the format's largest chunk) and never looks outside the chunk's bytes: a
// chunk whose size is not a whole number of words is completed with zero
// bits, and reading past the chunk's end yields zeros.
// A truncated chunk therefore decodes as if it were followed by zero bits
// (literal blocks of silence), which keeps decoding bounded and safe.
#pragma once

#include "format/TkwFormat.h"

#include <cstdint>
#include <memory>

class ByteSource;

class TkwBitReader {
public:
  // Room for chunks of up to `capacity` bytes (at most tkw::kMaxChunkSize).
  explicit TkwBitReader(std::uint32_t capacity = tkw::kMaxChunkSize);
  TkwBitReader(const TkwBitReader&) = delete;
  TkwBitReader& operator=(const TkwBitReader&) = delete;

  // Reads `size` bytes (at most the capacity) from the source's position and
  // starts on them; a short read leaves zeros in place of the missing bytes.
  // Returns the number of bytes read.
  std::uint32_t Load(ByteSource& source, std::uint32_t size);
  // Starts on bytes held in memory (at most the capacity).
  void Start(const unsigned char* bytes, std::uint32_t size);

  // The next `bits` bits (0 … 32); a width of 0 reads 0 and consumes nothing.
  std::uint32_t Read(int bits) {
    if (bits < bitsLeft_) {
      if (bits == 0) return 0;
      const std::uint32_t value = current_ >> (32 - bits);
      current_ <<= bits;
      bitsLeft_ -= bits;
      return value;
    }
    // The field uses the rest of the current word and maybe the next one.
    std::uint32_t value = current_ >> (32 - bitsLeft_);
    const int rest = bits - bitsLeft_;
    current_ = NextWord();
    bitsLeft_ = 32;
    if (rest > 0) {
      value = (value << rest) | (current_ >> (32 - rest));
      current_ <<= rest;
      bitsLeft_ -= rest;
    }
    return value;
  }

  // Unread bits of the current word (1 … 32).
  int BitsLeft() const { return bitsLeft_; }

private:
  void Begin(std::uint32_t size);
  std::uint32_t NextWord() { return next_ < end_ ? words_[next_++] : 0; }

  std::unique_ptr<std::uint32_t[]> words_;
  std::uint32_t capacity_ = 0; // bytes
  std::uint32_t next_ = 0;     // index of the next word to load
  std::uint32_t end_ = 0;      // words holding chunk bytes
  std::uint32_t current_ = 0;
  int bitsLeft_ = 32;
};
