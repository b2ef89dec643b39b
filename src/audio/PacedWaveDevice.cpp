#include "audio/PacedWaveDevice.h"

#include <chrono>
#include <mutex>

namespace audio {

namespace {

using Clock = std::chrono::steady_clock;

// Buffers are played in slices this long, so that a reset cuts a buffer short
// as a sound card does.
constexpr std::uint32_t kSliceMs = 10;

} // namespace

PacedWaveDevice::PacedWaveDevice(const WaveFormat& format, plat::Event* doneEvent, bool fast, Sink sink,
                                 std::function<void()> onClose)
    : QueuedWaveDevice(format, doneEvent), fast_(fast), sink_(std::move(sink)), onClose_(std::move(onClose)) {
  player_ = std::thread([this] { run(); });
}

PacedWaveDevice::~PacedWaveDevice() {
  {
    std::lock_guard lock(mutex_);
    if (!closed_) {
      closed_ = true;
      onClosed();
    }
  }
  changed_.notify_all();
  if (player_.joinable()) player_.join();
}

WaveResult PacedWaveDevice::close() {
  const WaveResult result = QueuedWaveDevice::close();
  if (result == WaveResult::Ok && player_.joinable()) player_.join();
  return result;
}

void PacedWaveDevice::onClosed() {
  if (onClose_) onClose_();
}

void PacedWaveDevice::run() {
  const std::uint32_t sliceBytes = sliceSize();
  std::unique_lock lock(mutex_);
  bool clockRunning = false;
  Clock::time_point start;
  std::uint64_t playedBytes = 0;
  while (!closed_) {
    if (queue_.empty()) {
      clockRunning = false;
      changed_.wait(lock, [this] { return closed_ || !queue_.empty(); });
      continue;
    }
    if (!clockRunning) {
      start = Clock::now();
      playedBytes = 0;
      clockRunning = true;
    }
    if (fast_) {
      consumeLocked(queuedBytesLocked(), sink_);
      continue;
    }
    playedBytes += consumeLocked(sliceBytes, sink_);
    const auto due = start + std::chrono::microseconds(playedBytes * 1000000 / format().avgBytesPerSec);
    changed_.wait_until(lock, due, [this] { return closed_; });
  }
}

std::uint32_t PacedWaveDevice::sliceSize() const {
  const std::uint32_t bytes = format().avgBytesPerSec / (1000 / kSliceMs);
  const std::uint32_t align = format().blockAlign ? format().blockAlign : 1;
  return bytes < align ? align : bytes - bytes % align;
}

} // namespace audio
