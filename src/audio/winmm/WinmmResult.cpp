#include "audio/winmm/WinmmResult.h"

namespace audio {

WaveResult fromMmResult(MMRESULT result) {
  switch (result) {
  case MMSYSERR_NOERROR: return WaveResult::Ok;
  case MMSYSERR_BADDEVICEID: return WaveResult::BadDevice;
  case MMSYSERR_NOTENABLED: return WaveResult::NotEnabled;
  case MMSYSERR_ALLOCATED: return WaveResult::Allocated;
  case MMSYSERR_INVALHANDLE: return WaveResult::InvalidHandle;
  case MMSYSERR_NODRIVER: return WaveResult::NoDriver;
  case MMSYSERR_NOMEM: return WaveResult::NoMemory;
  case MMSYSERR_NOTSUPPORTED: return WaveResult::NotSupported;
  case MMSYSERR_INVALFLAG: return WaveResult::InvalidFlag;
  case MMSYSERR_INVALPARAM: return WaveResult::InvalidParam;
  case WAVERR_BADFORMAT: return WaveResult::BadFormat;
  case WAVERR_STILLPLAYING: return WaveResult::StillPlaying;
  case WAVERR_UNPREPARED: return WaveResult::Unprepared;
  default: return WaveResult::Error;
  }
}

} // namespace audio
