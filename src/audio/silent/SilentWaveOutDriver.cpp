#include "audio/silent/SilentWaveOutDriver.h"

#include "audio/PacedWaveDevice.h"

namespace audio {

namespace {

class SilentDriver : public WaveOutDriver {
public:
  WaveResult query(const WaveFormat& format) override {
    return isPlayableFormat(format) ? WaveResult::Ok : WaveResult::BadFormat;
  }

  WaveResult open(std::unique_ptr<WaveOutDevice>& out, const WaveFormat& format, plat::Event* doneEvent) override {
    if (!isPlayableFormat(format)) return WaveResult::BadFormat;
    out = std::make_unique<PacedWaveDevice>(format, doneEvent, false, QueuedWaveDevice::Sink(), nullptr);
    return WaveResult::Ok;
  }
};

} // namespace

std::unique_ptr<WaveOutDriver> makeSilentWaveOutDriver() { return std::make_unique<SilentDriver>(); }

} // namespace audio
