// A wave-out device for tests and benchmarks: nothing plays until the test
// advances its clock, and everything that was written and played is kept, so
// that what reaches the speaker can be checked sample by sample. It needs no
// test framework.
#pragma once

#include "audio/WaveOutDriver.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace testutil {

class VirtualWaveDevice;

class VirtualWaveOut : public audio::WaveOutDriver {
public:
  // One opening of the device.
  struct Session {
    audio::WaveFormat format;
    std::vector<std::uint32_t> writtenBytes; // every buffer written, in order
    std::vector<std::int16_t> played;        // the samples played so far
    int resets = 0;
    bool open = true;
  };

  // Installs itself as the device of the process until destroyed.
  VirtualWaveOut();
  ~VirtualWaveOut() override;

  // Results the following opens, queries and writes give.
  void setOpenResult(audio::WaveResult result);
  void setQueryResult(audio::WaveResult result);
  void setWriteResult(audio::WaveResult result);

  // Plays up to frames frames on every open device; returns the most any
  // device played.
  std::uint32_t play(std::uint32_t frames);

  // Waits until pred holds for the sessions (checked at every change), at
  // most timeoutMs; false on timeout.
  bool waitFor(const std::function<bool(const std::vector<Session>&)>& pred, std::uint32_t timeoutMs = 10000);
  // Waits until the newest open device holds at least count buffers.
  bool waitForQueued(std::size_t count, std::uint32_t timeoutMs = 10000);
  // Waits until count sessions have been opened and all of them closed again.
  bool waitForClosedSessions(std::size_t count, std::uint32_t timeoutMs = 10000);

  // The openings that fed buffers (with a completion event), in order.
  std::vector<Session> sessions() const;
  // Openings without a completion event: probes of the device.
  int probes() const;
  std::size_t openDevices() const;
  std::size_t queuedBuffers() const; // on the newest open device

  audio::WaveResult query(const audio::WaveFormat& format) override;
  audio::WaveResult open(std::unique_ptr<audio::WaveOutDevice>& out, const audio::WaveFormat& format,
                         plat::Event* doneEvent) override;

private:
  friend class VirtualWaveDevice;
  void changed();
  void detach(VirtualWaveDevice* device);

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Session> sessions_;
  std::vector<VirtualWaveDevice*> devices_;
  audio::WaveResult openResult_ = audio::WaveResult::Ok;
  audio::WaveResult queryResult_ = audio::WaveResult::Ok;
  audio::WaveResult writeResult_ = audio::WaveResult::Ok;
  int probes_ = 0;
};

} // namespace testutil
