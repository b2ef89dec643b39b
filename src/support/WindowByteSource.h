// A part of another source: `size` bytes from `offset`, seen as bytes 0 to
// size − 1. Reads never reach outside the window, so a sound inside an
// archive cannot read its neighbours' bytes.
#pragma once

#include "support/ByteSource.h"

#include <memory>

class WindowByteSource final : public ByteSource {
public:
  WindowByteSource(std::unique_ptr<ByteSource> base, std::int64_t offset, std::int64_t size);

  std::uint32_t Read(void* buffer, std::uint32_t count) override;
  bool Seek(std::int64_t position) override;
  std::int64_t Size() const override { return size_; }
  bool IsOpen() const override { return base_->IsOpen(); }
  std::unique_ptr<ByteSource> Reopen() const override;

private:
  std::unique_ptr<ByteSource> base_;
  std::int64_t offset_;
  std::int64_t size_;
  std::int64_t position_ = 0;
  // The base is moved only when bytes are read: a decoder that positions the
  // window for every request but reads only now and then costs no seeks.
  bool baseAtPosition_ = false;
};
