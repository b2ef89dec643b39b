// The library's path to the sound card: one device, opened on the default
// output, and the first-in, first-out queue of the buffers written to it.
// One worker thread performs every operation except Reset, which any thread
// may issue to cut playback short.
#pragma once

#include "audio/WaveOut.h"
#include "platform/Sync.h"
#include "tkwDec32.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

class RWaveOut {
public:
  // The longest Reap waits for a completion.
  static constexpr std::uint32_t kReapTimeoutMs = 3000;

  RWaveOut();
  ~RWaveOut();
  RWaveOut(const RWaveOut&) = delete;
  RWaveOut& operator=(const RWaveOut&) = delete;

  // Opens the default device for the format; the device's result.
  audio::WaveResult Open(const TkwWaveFormat& format);
  // Queues frames frames of samples, which the queue now owns. A buffer the
  // device refuses is kept in the queue and released by the next Reap.
  void Write(std::vector<std::int16_t> samples, std::uint32_t frames);
  // Waits (at most kReapTimeoutMs) until the oldest buffer is done, then
  // releases the done buffers at the head of the queue; the number released.
  int Reap();
  // Releases every buffer, waiting for each to finish.
  void Drain();
  // Closes the device; buffers still queued are cut off first.
  void Close();
  // Stops playback: every queued buffer is done at once. Any thread.
  void Reset();

  bool IsOpen() const;
  std::size_t Queued() const { return buffers_.size(); }
  const TkwWaveFormat& Format() const { return format_; }
  plat::Event& DoneEvent() { return doneEvent_; }

private:
  struct Buffer;

  bool HeadFinished() const;
  std::uint32_t RefusedHeadWaitMs() const;
  void ReleaseHead();

  std::deque<std::unique_ptr<Buffer>> buffers_;
  std::vector<std::unique_ptr<Buffer>> abandoned_;
  plat::Event doneEvent_;
  TkwWaveFormat format_{};
  mutable std::mutex deviceMutex_; // Reset from other threads against Open and Close
  std::unique_ptr<audio::WaveOutDevice> device_;
};

// The device's form of a wave format record.
audio::WaveFormat ToDeviceFormat(const TkwWaveFormat& format);
