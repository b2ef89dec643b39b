// The multimedia API's result codes as the wave-out interface's results.
#pragma once

#include "audio/WaveResult.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

namespace audio {

// Codes without a counterpart of their own come back as Error.
WaveResult fromMmResult(MMRESULT result);

} // namespace audio
