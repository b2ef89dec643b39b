// One opened wave-out device: hand it buffers, learn through their done flag
// (and the event given at open) when each has been played, reset it to get
// every queued buffer back at once, close it.
#pragma once

#include "audio/WaveHeader.h"
#include "audio/WaveResult.h"

namespace audio {

// write and reset may run on different threads; the others belong to the
// thread that opened the device.
class WaveOutDevice {
public:
  virtual ~WaveOutDevice() = default;
  virtual WaveResult prepare(WaveHeader& header) = 0;
  virtual WaveResult write(WaveHeader& header) = 0;
  virtual WaveResult unprepare(WaveHeader& header) = 0;
  // Stops playback: every queued buffer is marked done at once.
  virtual WaveResult reset() = 0;
  // StillPlaying while buffers are queued; the device is then still open.
  virtual WaveResult close() = 0;
};

} // namespace audio
