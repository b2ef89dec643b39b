#include "playback/RMemorySource.h"

#include <algorithm>

RMemorySource::RMemorySource(const CachedSound& sound, bool looping) : sound_(sound) { loop = looping; }

void RMemorySource::Copy(std::int16_t*& dest, std::uint32_t count) {
  const std::size_t channels = static_cast<std::size_t>(sound_.channelCount);
  const std::int16_t* from = sound_.samples->data() + static_cast<std::size_t>(position_) * channels;
  dest = std::copy(from, from + static_cast<std::size_t>(count) * channels, dest);
  position_ += count;
}

std::int32_t RMemorySource::Read(std::int16_t* dest, std::uint32_t frames, std::uint32_t* copied) {
  const std::uint32_t length = sound_.frames;
  const std::size_t channels = static_cast<std::size_t>(sound_.channelCount);
  std::uint64_t delivered = 0;
  std::int32_t status = 0;
  if (static_cast<std::uint64_t>(position_) + frames <= length) {
    Copy(dest, frames);
    delivered = frames;
    status = position_ == length ? kEnd : 0;
  } else {
    const std::uint32_t rest = length - position_;
    Copy(dest, rest);
    delivered = rest;
    std::uint32_t left = frames - rest;
    position_ = 0;
    if (loop && length > 0) {
      while (left > length) {
        Copy(dest, length);
        position_ = 0;
        delivered += length;
        left -= length;
      }
      Copy(dest, left);
      delivered += left;
    } else {
      // Also a looping sound of no frames: it has nothing to repeat, so it is silence.
      std::fill(dest, dest + static_cast<std::size_t>(left) * channels, std::int16_t{0});
      status = kEnd;
    }
  }
  if (copied) *copied = static_cast<std::uint32_t>(delivered);
  return loop ? 0 : status;
}
