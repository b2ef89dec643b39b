#include "support/RFile.h"

#include <cstdio>
#include <cstring>
#include <utility>

RFile::~RFile() { Close(); }

RFile::RFile(RFile&& other) noexcept
    : handle_(std::exchange(other.handle_, plat::kInvalidHandle)), name_(std::move(other.name_)) {}

RFile& RFile::operator=(RFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, plat::kInvalidHandle);
    name_ = std::move(other.name_);
  }
  return *this;
}

bool RFile::Open(const char* name, int mode) {
  Close();
  // A name longer than the name buffer cannot be held, so it is not opened;
  // the caller sees a failed open, as for any other file it cannot have.
  if (name != nullptr && std::strlen(name) >= name_.capacity()) {
    name_.Assign("");
    return false;
  }
  name_.Assign(name);
  handle_ = plat::openFile(name_.c_str(), static_cast<plat::FileMode>(mode));
  if (!IsOpen()) (void)plat::lastError(); // fetched and dropped: the caller sees a failing handle
  return IsOpen();
}

std::uint32_t RFile::Read(void* buffer, std::uint32_t count) {
  std::uint32_t got = 0;
  if (!plat::readFile(handle_, buffer, count, &got)) {
    std::printf("FatalError : RFile::Read = %d\n", plat::lastError());
    std::fflush(stdout);
  }
  return got;
}

std::uint32_t RFile::Write(const void* buffer, std::uint32_t count) {
  std::uint32_t written = 0;
  plat::writeFile(handle_, buffer, count, &written);
  return written;
}

std::int64_t RFile::Seek(std::int64_t offset, plat::SeekOrigin origin) {
  return plat::seekFile(handle_, offset, origin);
}

std::int64_t RFile::Position() const { return plat::seekFile(handle_, 0, plat::SeekOrigin::Current); }

std::int64_t RFile::Size() const { return plat::fileSize(handle_); }

bool RFile::NamesDataFile(const char* path) {
  // A pattern matches files, but names none that could be opened.
  if (std::strpbrk(path, "*?") != nullptr) return false;
  plat::FindEntry entry;
  return plat::findFile(path, &entry) == plat::FindResult::Found && !entry.isDirectory && !entry.isSpecial;
}

bool RFile::Close() {
  const bool ok = plat::closeFile(handle_);
  handle_ = plat::kInvalidHandle;
  return ok;
}
