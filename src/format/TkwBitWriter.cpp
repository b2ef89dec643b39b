#include "format/TkwBitWriter.h"

#include "support/ByteOrder.h"

void TkwBitWriter::Put(std::uint32_t value, int width) {
  if (width == 0) return;
  if (width < 32) value &= (std::uint32_t{1} << width) - 1;
  bits_ += width;
  if (bits_ < 32) {
    accumulator_ |= value << (32 - bits_);
    return;
  }
  bits_ -= 32;
  accumulator_ |= bits_ > 0 ? value >> bits_ : value;
  words_.push_back(accumulator_);
  accumulator_ = bits_ > 0 ? value << (32 - bits_) : 0;
}

void TkwBitWriter::Flush() {
  if (bits_ > 0) words_.push_back(accumulator_);
  accumulator_ = 0;
  bits_ = 0;
}

std::vector<unsigned char> TkwBitWriter::Bytes() const {
  std::vector<unsigned char> bytes(words_.size() * 4);
  for (std::size_t i = 0; i < words_.size(); ++i)
    StoreLe32(&bytes[i * 4], words_[i]);
  return bytes;
}
