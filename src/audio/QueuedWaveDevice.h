// A device that keeps its buffers in a queue of its own and plays them by
// taking bytes from the head: the base of the SDL, silent and recording
// devices, and of the test device.
#pragma once

#include "audio/WaveFormat.h"
#include "audio/WaveOutDevice.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

namespace plat {
class Event;
}

namespace audio {

class QueuedWaveDevice : public WaveOutDevice {
public:
  QueuedWaveDevice(const WaveFormat& format, plat::Event* doneEvent);
  ~QueuedWaveDevice() override;

  WaveResult prepare(WaveHeader& header) override;
  WaveResult write(WaveHeader& header) override;
  WaveResult unprepare(WaveHeader& header) override;
  WaveResult reset() override;
  WaveResult close() override;

  const WaveFormat& format() const { return format_; }

  using Sink = std::function<void(const char* data, std::uint32_t bytes)>;
  // Plays up to maxBytes from the head of the queue into sink (which may be
  // empty), marking every buffer done that is used up; a buffer of zero bytes
  // at the head is done at once. Returns the bytes taken.
  std::uint32_t consume(std::uint32_t maxBytes, const Sink& sink);
  std::size_t queuedBuffers() const;
  std::uint32_t queuedBytes() const;

protected:
  std::uint32_t consumeLocked(std::uint32_t maxBytes, const Sink& sink);
  std::uint32_t queuedBytesLocked() const;
  // Called under the lock once close has succeeded.
  virtual void onClosed() {}

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<WaveHeader*> queue_;
  std::uint32_t headOffset_ = 0;
  bool closed_ = false;

private:
  void completeHeadLocked();

  WaveFormat format_;
  plat::Event* doneEvent_;
};

} // namespace audio
