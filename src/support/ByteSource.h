// Bytes a reader takes from a position it can move: a file, a block of
// memory, or a window onto either. The decoder, the archive reader and the
// wave reader read through this, so that a sound can be decoded from memory
// as well as from a file.
#pragma once

#include <cstdint>
#include <memory>

class ByteSource {
public:
  virtual ~ByteSource() = default;

  // Up to `count` bytes from the position, which moves past them; fewer at
  // the end of the bytes or when the medium fails.
  virtual std::uint32_t Read(void* buffer, std::uint32_t count) = 0;
  // Moves to `position` bytes from the start; false when it cannot.
  virtual bool Seek(std::int64_t position) = 0;
  // Bytes in all, or -1 when they cannot be counted.
  virtual std::int64_t Size() const = 0;
  // False for a file that did not open: it reads nothing.
  virtual bool IsOpen() const { return true; }
  // The same bytes with a position of their own. A file is opened again by
  // its path, so each reader works on its own handle; when that fails the
  // result is not open.
  virtual std::unique_ptr<ByteSource> Reopen() const = 0;
};
