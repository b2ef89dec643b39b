// The bytes of a file, read through RFile: a failed read prints the
// FatalError line and comes back short. The file is opened for reading when
// the source is made and stays open for the source's life.
#pragma once

#include "support/ByteSource.h"
#include "support/RFile.h"

#include <string>

class FileByteSource final : public ByteSource {
public:
  // Opens the file; a failed open leaves a source that is not open.
  explicit FileByteSource(const char* path);

  std::uint32_t Read(void* buffer, std::uint32_t count) override { return file_.Read(buffer, count); }
  bool Seek(std::int64_t position) override { return file_.Seek(position) == position; }
  std::int64_t Size() const override { return file_.Size(); }
  bool IsOpen() const override { return file_.IsOpen(); }
  std::unique_ptr<ByteSource> Reopen() const override;

  const std::string& Path() const { return path_; }

private:
  std::string path_;
  RFile file_;
};
