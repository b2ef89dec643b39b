// The device that writes what it receives to a WAV file (RecordFile.h), in
// real time or, when fast, as quickly as it is fed.
#pragma once

#include "audio/WaveOutDriver.h"

#include <memory>
#include <string>

namespace audio {

std::unique_ptr<WaveOutDriver> makeRecordWaveOutDriver(const std::string& path, bool fast);

} // namespace audio
