#include "support/WindowByteSource.h"

#include <algorithm>

WindowByteSource::WindowByteSource(std::unique_ptr<ByteSource> base, std::int64_t offset, std::int64_t size)
    : base_(std::move(base)), offset_(offset), size_(std::max<std::int64_t>(size, 0)) {}

std::uint32_t WindowByteSource::Read(void* buffer, std::uint32_t count) {
  const std::int64_t left = std::max<std::int64_t>(size_ - position_, 0);
  const auto wanted = static_cast<std::uint32_t>(std::min<std::int64_t>(count, left));
  if (wanted == 0) return 0;
  if (!baseAtPosition_) {
    if (!base_->Seek(offset_ + position_)) return 0;
    baseAtPosition_ = true;
  }
  const std::uint32_t got = base_->Read(buffer, wanted);
  position_ += got;
  return got;
}

bool WindowByteSource::Seek(std::int64_t position) {
  if (position < 0) return false;
  position_ = position;
  baseAtPosition_ = false;
  return true;
}

std::unique_ptr<ByteSource> WindowByteSource::Reopen() const {
  return std::make_unique<WindowByteSource>(base_->Reopen(), offset_, size_);
}
