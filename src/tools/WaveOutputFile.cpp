#include "WaveOutputFile.h"

WaveOutputFile::WaveOutputFile(std::string path, std::uint16_t channels, std::uint32_t sampleRate, std::uint32_t frames)
    : out_(std::move(path)), writer_(*this, channels, sampleRate), channels_(channels), frames_(frames) {}

bool WaveOutputFile::Fail(std::string reason) {
  error_ = std::move(reason);
  return false;
}

bool WaveOutputFile::Append(const void* bytes, std::size_t size) {
  if (!opened_) {
    if (!out_.Open()) return false;
    opened_ = true;
  }
  return out_.Write(bytes, size);
}

bool WaveOutputFile::Open() { return writer_.Begin(frames_) || Fail(writer_.error()); }

bool WaveOutputFile::Write(const std::int16_t* samples, std::uint32_t frames) {
  if (written_ + frames > frames_) return Fail("more frames than the sound has");
  if (!writer_.Write(samples, std::size_t{frames} * channels_)) return Fail(writer_.error());
  written_ += frames;
  return true;
}

bool WaveOutputFile::Finish() {
  if (written_ != frames_) return Fail("the sound ended early");
  return out_.Commit() || Fail(out_.error());
}
