// Bytes held in memory: either owned (shared by every reopened copy) or
// borrowed from a caller that keeps them alive for the source's life.
#pragma once

#include "support/ByteSource.h"

#include <cstddef>
#include <memory>
#include <vector>

class MemoryByteSource final : public ByteSource {
public:
  // Borrows the bytes.
  MemoryByteSource(const void* bytes, std::size_t size);
  // Owns them.
  explicit MemoryByteSource(std::vector<unsigned char> bytes);

  std::uint32_t Read(void* buffer, std::uint32_t count) override;
  bool Seek(std::int64_t position) override;
  std::int64_t Size() const override { return static_cast<std::int64_t>(size_); }
  std::unique_ptr<ByteSource> Reopen() const override;

private:
  MemoryByteSource(std::shared_ptr<const std::vector<unsigned char>> owned, const unsigned char* bytes,
                   std::size_t size);

  std::shared_ptr<const std::vector<unsigned char>> owned_; // null when borrowed
  const unsigned char* bytes_;
  std::size_t size_;
  std::size_t position_ = 0;
};
