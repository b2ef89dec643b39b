#include "audio/QueuedWaveDevice.h"

#include "platform/Sync.h"

#include <algorithm>

namespace audio {

QueuedWaveDevice::QueuedWaveDevice(const WaveFormat& format, plat::Event* doneEvent)
    : format_(format), doneEvent_(doneEvent) {}

QueuedWaveDevice::~QueuedWaveDevice() = default;

WaveResult QueuedWaveDevice::prepare(WaveHeader& header) {
  header.flags.fetch_or(kWaveHeaderPrepared, std::memory_order_acq_rel);
  return WaveResult::Ok;
}

WaveResult QueuedWaveDevice::write(WaveHeader& header) {
  if (!(header.flags.load(std::memory_order_acquire) & kWaveHeaderPrepared)) return WaveResult::Unprepared;
  {
    std::lock_guard lock(mutex_);
    if (closed_) return WaveResult::InvalidHandle;
    header.flags.fetch_and(~kWaveHeaderDone, std::memory_order_acq_rel);
    header.flags.fetch_or(kWaveHeaderInQueue, std::memory_order_acq_rel);
    queue_.push_back(&header);
  }
  changed_.notify_all();
  return WaveResult::Ok;
}

WaveResult QueuedWaveDevice::unprepare(WaveHeader& header) {
  if (header.flags.load(std::memory_order_acquire) & kWaveHeaderInQueue) return WaveResult::StillPlaying;
  header.flags.fetch_and(~kWaveHeaderPrepared, std::memory_order_acq_rel);
  return WaveResult::Ok;
}

void QueuedWaveDevice::completeHeadLocked() {
  WaveHeader* head = queue_.front();
  queue_.pop_front();
  headOffset_ = 0;
  head->flags.fetch_and(~kWaveHeaderInQueue, std::memory_order_acq_rel);
  head->flags.fetch_or(kWaveHeaderDone, std::memory_order_release);
  if (doneEvent_) doneEvent_->set();
}

WaveResult QueuedWaveDevice::reset() {
  {
    std::lock_guard lock(mutex_);
    while (!queue_.empty())
      completeHeadLocked();
  }
  changed_.notify_all();
  return WaveResult::Ok;
}

WaveResult QueuedWaveDevice::close() {
  {
    std::lock_guard lock(mutex_);
    if (!queue_.empty()) return WaveResult::StillPlaying;
    if (closed_) return WaveResult::InvalidHandle;
    closed_ = true;
    onClosed();
  }
  changed_.notify_all();
  return WaveResult::Ok;
}

std::uint32_t QueuedWaveDevice::consume(std::uint32_t maxBytes, const Sink& sink) {
  std::uint32_t taken;
  {
    std::lock_guard lock(mutex_);
    taken = consumeLocked(maxBytes, sink);
  }
  changed_.notify_all();
  return taken;
}

std::uint32_t QueuedWaveDevice::consumeLocked(std::uint32_t maxBytes, const Sink& sink) {
  std::uint32_t taken = 0;
  while (!queue_.empty()) {
    WaveHeader* head = queue_.front();
    const std::uint32_t left = head->bytes - headOffset_;
    const std::uint32_t part = std::min(left, maxBytes - taken);
    if (part > 0 && sink) sink(head->data + headOffset_, part);
    headOffset_ += part;
    taken += part;
    if (headOffset_ < head->bytes) break;
    completeHeadLocked();
  }
  return taken;
}

std::size_t QueuedWaveDevice::queuedBuffers() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

std::uint32_t QueuedWaveDevice::queuedBytes() const {
  std::lock_guard lock(mutex_);
  return queuedBytesLocked();
}

std::uint32_t QueuedWaveDevice::queuedBytesLocked() const {
  std::uint32_t total = 0;
  for (const WaveHeader* header : queue_)
    total += header->bytes;
  return total - headOffset_;
}

} // namespace audio
