// The devices behind WaveOut.h. One driver serves the whole process; tests
// may put another in its place.
#pragma once

#include "platform/WaveOut.h"

#include <memory>
#include <string>

namespace plat {

class WaveOutDriver {
public:
  virtual ~WaveOutDriver() = default;
  virtual int query(const WaveFormat& format) = 0;
  virtual int open(std::unique_ptr<WaveOutDevice>& out, const WaveFormat& format, Event* doneEvent) = 0;
};

// The platform's sound card: winmm on Windows, SDL2 elsewhere.
std::unique_ptr<WaveOutDriver> makeNativeWaveOutDriver();
// Consumes buffers in real time and plays nothing.
std::unique_ptr<WaveOutDriver> makeSilentWaveOutDriver();
// Writes what it receives to a WAV file; fast skips the real-time pacing.
std::unique_ptr<WaveOutDriver> makeRecordWaveOutDriver(const std::string& path, bool fast);

// Builds the driver a TKW_AUDIO_DEVICE value names; null for an unknown value.
std::unique_ptr<WaveOutDriver> makeWaveOutDriver(const std::string& selection);

// Serves every later open and query from driver (null: back to the process's
// own device). The caller keeps driver alive while it is installed.
void setWaveOutDriverOverride(WaveOutDriver* driver);

} // namespace plat
