#include "wave/WaveFileDestination.h"

#include <cerrno>
#include <cstring>

WaveFileDestination::WaveFileDestination(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
  if (!file_) Fail();
}

WaveFileDestination::~WaveFileDestination() {
  if (file_) std::fclose(file_);
}

bool WaveFileDestination::Fail() {
  failure_ = errno != 0 ? std::strerror(errno) : "the file cannot be written";
  return false;
}

bool WaveFileDestination::Append(const void* bytes, std::size_t size) {
  if (!file_) return false;
  errno = 0;
  return std::fwrite(bytes, 1, size, file_) == size || Fail();
}

bool WaveFileDestination::OverwriteStart(const void* bytes, std::size_t size) {
  if (!file_) return false;
  errno = 0;
  const bool written = std::fseek(file_, 0, SEEK_SET) == 0 && std::fwrite(bytes, 1, size, file_) == size;
  // Back at the end for the samples that follow, and on disk for whoever
  // reads the file now.
  const bool resumed = std::fseek(file_, 0, SEEK_END) == 0 && std::fflush(file_) == 0;
  return (written && resumed) || Fail();
}
