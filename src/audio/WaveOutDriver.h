// The devices behind WaveOut.h. One driver serves the whole process; tests
// and benchmarks may put another in its place.
#pragma once

#include "audio/WaveFormat.h"
#include "audio/WaveOutDevice.h"
#include "audio/WaveResult.h"

#include <memory>
#include <string>

namespace plat {
class Event;
} // namespace plat

namespace audio {

class WaveOutDriver {
public:
  virtual ~WaveOutDriver() = default;
  virtual WaveResult query(const WaveFormat& format) = 0;
  virtual WaveResult open(std::unique_ptr<WaveOutDevice>& out, const WaveFormat& format, plat::Event* doneEvent) = 0;
};

// Builds the driver a TKW_AUDIO_DEVICE value names; null for an unknown value.
std::unique_ptr<WaveOutDriver> makeWaveOutDriver(const std::string& selection);

// Serves every later open and query from driver (null: back to the process's
// own device). The caller keeps driver alive while it is installed.
void setWaveOutDriverOverride(WaveOutDriver* driver);

} // namespace audio
