// The device for machines without a sound card: it consumes buffers in real
// time and plays nothing.
#pragma once

#include "audio/WaveOutDriver.h"

#include <memory>

namespace audio {

std::unique_ptr<WaveOutDriver> makeSilentWaveOutDriver();

} // namespace audio
