#include "support/MemoryByteSource.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

MemoryByteSource::MemoryByteSource(const void* bytes, std::size_t size)
    : bytes_(static_cast<const unsigned char*>(bytes)), size_(size) {}

MemoryByteSource::MemoryByteSource(std::vector<unsigned char> bytes)
    : owned_(std::make_shared<const std::vector<unsigned char>>(std::move(bytes))), bytes_(owned_->data()),
      size_(owned_->size()) {}

MemoryByteSource::MemoryByteSource(std::shared_ptr<const std::vector<unsigned char>> owned, const unsigned char* bytes,
                                   std::size_t size)
    : owned_(std::move(owned)), bytes_(bytes), size_(size) {}

std::uint32_t MemoryByteSource::Read(void* buffer, std::uint32_t count) {
  const std::size_t left = position_ < size_ ? size_ - position_ : 0;
  const auto got = static_cast<std::uint32_t>(std::min<std::size_t>(count, left));
  if (got > 0) std::memcpy(buffer, bytes_ + position_, got);
  position_ += got;
  return got;
}

bool MemoryByteSource::Seek(std::int64_t position) {
  if (position < 0) return false;
  // Past the end is allowed, as for a file: reads there give nothing.
  position_ = static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(position), SIZE_MAX));
  return true;
}

std::unique_ptr<ByteSource> MemoryByteSource::Reopen() const {
  return std::unique_ptr<ByteSource>(new MemoryByteSource(owned_, bytes_, size_));
}
