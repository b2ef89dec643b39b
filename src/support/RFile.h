// One open file over the operating system's handle. Failed opens are not
// reported (the handle stays invalid and later calls fail); failed reads print
// the FatalError line and return the short count.
#pragma once

#include "platform/Files.h"
#include "support/RString.h"

#include <cstdint>

class RFile {
public:
  enum Mode {
    kRead = 0,      // read an existing file
    kCreate = 1,    // read and write, created or truncated
    kReadWrite = 2, // read and write an existing file
  };

  RFile() = default;
  ~RFile();
  RFile(const RFile&) = delete;
  RFile& operator=(const RFile&) = delete;
  RFile(RFile&& other) noexcept;
  RFile& operator=(RFile&& other) noexcept;

  // Stores the name, then opens; true when the handle is valid. A name of 500
  // bytes or more fails the open (nothing is thrown).
  bool Open(const char* name, int mode);
  std::uint32_t Read(void* buffer, std::uint32_t count);
  std::uint32_t Write(const void* buffer, std::uint32_t count);
  // New absolute position, or -1.
  std::int64_t Seek(std::int64_t offset, plat::SeekOrigin origin = plat::SeekOrigin::Begin);
  std::int64_t Position() const;
  // Size in bytes, or -1.
  std::int64_t Size() const;
  // False when the system reports that data could not be stored.
  bool Close();

  bool IsOpen() const { return handle_ != plat::kInvalidHandle; }

  // True when the path names a file of data, not a folder, device, pipe or
  // a pattern of names: when such a file does not open, the failure lies in
  // opening it (no handle left, no access), not in what the file is.
  static bool NamesDataFile(const char* path);

  const RString& Name() const { return name_; }

private:
  plat::NativeHandle handle_ = plat::kInvalidHandle;
  RString name_;
};
