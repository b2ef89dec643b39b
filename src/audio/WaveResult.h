// What a wave-out call answers. The values are those of the Windows
// multimedia calls, which the player's and the mixer's statuses were defined
// against, so every device answers alike on every platform.
#pragma once

namespace audio {

enum class WaveResult : int {
  Ok = 0,            // MMSYSERR_NOERROR
  Error = 1,         // MMSYSERR_ERROR: a failure with no more particular code
  BadDevice = 2,     // MMSYSERR_BADDEVICEID: no device at all
  NotEnabled = 3,    // MMSYSERR_NOTENABLED
  Allocated = 4,     // MMSYSERR_ALLOCATED: held by someone else
  InvalidHandle = 5, // MMSYSERR_INVALHANDLE
  NoDriver = 6,      // MMSYSERR_NODRIVER
  NoMemory = 7,      // MMSYSERR_NOMEM
  NotSupported = 8,  // MMSYSERR_NOTSUPPORTED
  InvalidFlag = 10,  // MMSYSERR_INVALFLAG
  InvalidParam = 11, // MMSYSERR_INVALPARAM
  BadFormat = 32,    // WAVERR_BADFORMAT
  StillPlaying = 33, // WAVERR_STILLPLAYING
  Unprepared = 34,   // WAVERR_UNPREPARED
};

} // namespace audio
