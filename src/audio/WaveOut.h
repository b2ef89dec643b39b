// The process's wave-out device: ask whether it plays a format, open it.
//
// Which device is used is chosen once per process by the environment
// variable TKW_AUDIO_DEVICE:
//   sdl (default on Linux)     the sound card, through SDL2
//   winmm (default on Windows) the sound card, through the multimedia API
//   silent                     consumes buffers in real time, plays nothing
//   record:<file.wav>[:fast]   writes what it receives to a WAV file, in real
//                              time or, with ":fast", as fast as it is fed
// The silent and record devices exist on every platform; tests put a device
// of their own in place (WaveOutDriver.h).
#pragma once

#include "audio/WaveFormat.h"
#include "audio/WaveHeader.h"
#include "audio/WaveOutDevice.h"
#include "audio/WaveResult.h"

#include <memory>
#include <string>

namespace plat {
class Event;
}

namespace audio {

// Asks whether the device plays the format (WAVE_FORMAT_QUERY).
WaveResult waveOutQuery(const WaveFormat& format);

// Opens the device. doneEvent, when given, is set each time a buffer finishes
// (and must outlive the device). On failure out stays null.
WaveResult waveOutOpen(std::unique_ptr<WaveOutDevice>& out, const WaveFormat& format, plat::Event* doneEvent);

// The device TKW_AUDIO_DEVICE names, as a text for messages ("sdl", "silent", ...).
std::string waveOutDeviceName();

} // namespace audio
