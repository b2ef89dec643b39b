#include "playback/RWaveOut.h"

#include "platform/Clock.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kDrainPollMs = 2;
// A device that finishes nothing for this long while draining is reset, and
// after twice as long its buffers are given up.
constexpr std::uint32_t kDrainStallMs = 3000;

} // namespace

struct RWaveOut::Buffer {
  std::vector<std::int16_t> samples;
  audio::WaveHeader header;
  bool refused = false;
};

audio::WaveFormat ToDeviceFormat(const TkwWaveFormat& format) {
  audio::WaveFormat native;
  native.formatTag = format.formatTag;
  native.channels = format.channels;
  native.samplesPerSec = format.samplesPerSec;
  native.avgBytesPerSec = format.avgBytesPerSec;
  native.blockAlign = format.blockAlign;
  native.bitsPerSample = format.bitsPerSample;
  native.extraSize = format.extraSize;
  return native;
}

RWaveOut::RWaveOut() : doneEvent_(true, false) {}

RWaveOut::~RWaveOut() {
  if (IsOpen() || !buffers_.empty()) Close();
}

audio::WaveResult RWaveOut::Open(const TkwWaveFormat& format) {
  std::lock_guard lock(deviceMutex_);
  format_ = format;
  if (device_) return audio::WaveResult::Allocated;
  return audio::waveOutOpen(device_, ToDeviceFormat(format), &doneEvent_);
}

bool RWaveOut::IsOpen() const {
  std::lock_guard lock(deviceMutex_);
  return device_ != nullptr;
}

void RWaveOut::Write(std::vector<std::int16_t> samples, std::uint32_t frames) {
  auto buffer = std::make_unique<Buffer>();
  buffer->samples = std::move(samples);
  const std::uint64_t wanted = static_cast<std::uint64_t>(frames) * format_.blockAlign;
  const std::uint64_t held = buffer->samples.size() * sizeof(std::int16_t);
  buffer->header.data = reinterpret_cast<const char*>(buffer->samples.data());
  buffer->header.bytes = static_cast<std::uint32_t>(std::min(wanted, held));
  {
    std::lock_guard lock(deviceMutex_);
    audio::WaveResult result = audio::WaveResult::InvalidHandle;
    if (device_) {
      result = device_->prepare(buffer->header);
      if (result == audio::WaveResult::Ok) {
        result = device_->write(buffer->header);
        if (result != audio::WaveResult::Ok) device_->unprepare(buffer->header);
      }
    }
    // The device will never mark a refused buffer done: Reap releases it.
    buffer->refused = result != audio::WaveResult::Ok;
  }
  buffers_.push_back(std::move(buffer));
}

bool RWaveOut::HeadFinished() const {
  return !buffers_.empty() && (buffers_.front()->refused || buffers_.front()->header.done());
}

std::uint32_t RWaveOut::RefusedHeadWaitMs() const {
  // A refused buffer stands in for the time it would have played, so that a
  // feeder on a failing device is paced instead of spinning.
  const Buffer& head = *buffers_.front();
  const std::uint32_t rate = format_.avgBytesPerSec ? format_.avgBytesPerSec : 1;
  const std::uint64_t ms = static_cast<std::uint64_t>(head.header.bytes) * 1000 / rate;
  return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(ms, 1, kReapTimeoutMs));
}

int RWaveOut::Reap() {
  // Reset before looking, so that a completion after the look still ends the wait.
  doneEvent_.reset();
  if (buffers_.empty() || !buffers_.front()->header.done()) {
    const bool refusedHead = !buffers_.empty() && buffers_.front()->refused;
    doneEvent_.wait(refusedHead ? RefusedHeadWaitMs() : kReapTimeoutMs);
  }
  int released = 0;
  while (HeadFinished()) {
    ReleaseHead();
    ++released;
  }
  return released;
}

void RWaveOut::Drain() {
  std::uint32_t lastProgress = plat::tickCount();
  bool resetSent = false;
  while (!buffers_.empty()) {
    if (HeadFinished()) {
      ReleaseHead();
      lastProgress = plat::tickCount();
      continue;
    }
    const std::uint32_t stalled = plat::tickCount() - lastProgress;
    if (stalled >= 2 * kDrainStallMs) {
      // The device has stopped answering even a reset: give the buffer up, but
      // keep its memory until the device itself is gone.
      abandoned_.push_back(std::move(buffers_.front()));
      buffers_.pop_front();
      lastProgress = plat::tickCount();
      continue;
    }
    if (stalled >= kDrainStallMs && !resetSent) {
      Reset();
      resetSent = true;
    }
    plat::sleepMs(kDrainPollMs);
  }
}

void RWaveOut::ReleaseHead() {
  std::unique_ptr<Buffer> head = std::move(buffers_.front());
  buffers_.pop_front();
  std::lock_guard lock(deviceMutex_);
  if (device_ && !head->refused) device_->unprepare(head->header);
}

void RWaveOut::Close() {
  if (!buffers_.empty()) {
    Reset();
    Drain();
  }
  std::lock_guard lock(deviceMutex_);
  if (!device_) return;
  if (device_->close() != audio::WaveResult::Ok) {
    device_->reset();
    device_->close();
  }
  device_.reset();
  abandoned_.clear();
}

void RWaveOut::Reset() {
  std::lock_guard lock(deviceMutex_);
  if (device_) device_->reset();
}
