// The platform's sound card: winmm on Windows, SDL2 elsewhere. Each build
// compiles exactly one definition.
#pragma once

#include "audio/WaveOutDriver.h"

#include <memory>

namespace audio {

std::unique_ptr<WaveOutDriver> makeNativeWaveOutDriver();

} // namespace audio
