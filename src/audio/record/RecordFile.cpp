#include "audio/record/RecordFile.h"

#include "wave/WaveFileDestination.h"
#include "wave/WaveWriter.h"

#include <cstring>

namespace audio {

RecordFile::RecordFile(std::string path) : basePath_(std::move(path)) {}

RecordFile::~RecordFile() { finish(); }

bool RecordFile::begin(const WaveFormat& format) {
  if (writer_ && sameFormat(format)) return true;
  finish();
  format_ = format;
  ++fileCount_;
  auto file = std::make_unique<WaveFileDestination>(currentPath());
  if (!file->IsOpen()) return false;
  auto writer = std::make_unique<WaveWriter>(*file, format.channels, format.samplesPerSec);
  // A header that cannot be written now fails again at every update: the
  // recording goes on, as with any later failing write.
  writer->Begin();
  file_ = std::move(file);
  writer_ = std::move(writer);
  return true;
}

void RecordFile::append(const char* data, std::uint32_t bytes) {
  if (!writer_) return;
  samples_.resize(bytes / 2);
  std::memcpy(samples_.data(), data, samples_.size() * 2);
  // Past the most a header can announce the rest is dropped.
  writer_->Write(samples_.data(), samples_.size());
}

void RecordFile::updateHeader() {
  if (writer_) writer_->UpdateHeader();
}

bool RecordFile::sameFormat(const WaveFormat& format) const {
  return format.channels == format_.channels && format.samplesPerSec == format_.samplesPerSec;
}

std::string RecordFile::currentPath() const {
  if (fileCount_ <= 1) return basePath_;
  const std::size_t dot = basePath_.rfind('.');
  const std::size_t slash = basePath_.find_last_of("/\\");
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasExtension ? basePath_.substr(0, dot) : basePath_;
  const std::string extension = hasExtension ? basePath_.substr(dot) : ".wav";
  return stem + "-" + std::to_string(fileCount_) + extension;
}

void RecordFile::finish() {
  if (!writer_) return;
  writer_->UpdateHeader();
  writer_.reset();
  file_.reset();
}

} // namespace audio
