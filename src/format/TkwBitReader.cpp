#include "format/TkwBitReader.h"

#include "support/ByteOrder.h"
#include "support/ByteSource.h"

#include <algorithm>
#include <cstring>

// Not zeroed: only the words of the chunk being read are ever looked at.
TkwBitReader::TkwBitReader(std::uint32_t capacity)
    : words_(new std::uint32_t[std::max<std::uint32_t>(std::min(capacity, tkw::kMaxChunkSize), 4) / 4 + 1]),
      capacity_(std::min(capacity, tkw::kMaxChunkSize)) {}

std::uint32_t TkwBitReader::Load(ByteSource& source, std::uint32_t size) {
  size = std::min(size, capacity_);
  auto* bytes = reinterpret_cast<unsigned char*>(words_.get());
  const std::uint32_t got = std::min(source.Read(bytes, size), size);
  std::memset(bytes + got, 0, size - got);
  Begin(size);
  return got;
}

void TkwBitReader::Start(const unsigned char* bytes, std::uint32_t size) {
  size = std::min(size, capacity_);
  if (size > 0) std::memcpy(words_.get(), bytes, size);
  Begin(size);
}

void TkwBitReader::Begin(std::uint32_t size) {
  auto* bytes = reinterpret_cast<unsigned char*>(words_.get());
  end_ = (size + 3) / 4;
  // Complete the last word with zero bytes, then put the words in host order.
  std::memset(bytes + size, 0, std::size_t{end_} * 4 - size);
  for (std::uint32_t i = 0; i < end_; ++i)
    words_[i] = LoadLe32(bytes + 4 * std::size_t{i});
  next_ = 0;
  current_ = NextWord();
  bitsLeft_ = 32;
}
