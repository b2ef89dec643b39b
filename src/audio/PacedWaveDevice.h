// A device that plays its queue from a thread of its own, paced by the wall
// clock as a sound card would be (or, when fast, as quickly as it is fed),
// and hands every played byte to a sink: the silent and recording devices.
#pragma once

#include "audio/QueuedWaveDevice.h"

#include <cstdint>
#include <functional>
#include <thread>

namespace audio {

class PacedWaveDevice : public QueuedWaveDevice {
public:
  // sink may be empty; onClose runs under the device's lock once it closes.
  PacedWaveDevice(const WaveFormat& format, plat::Event* doneEvent, bool fast, Sink sink,
                  std::function<void()> onClose);
  ~PacedWaveDevice() override;

  WaveResult close() override;

protected:
  void onClosed() override;

private:
  void run();
  std::uint32_t sliceSize() const;

  bool fast_;
  Sink sink_;
  std::function<void()> onClose_;
  std::thread player_;
};

} // namespace audio
