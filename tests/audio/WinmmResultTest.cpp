// The multimedia API's codes reach the player and the mixer with the values
// they were defined against.
#ifdef _WIN32

#include "audio/winmm/WinmmResult.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

TEST(WinmmResult, KeepsTheValuesOfTheCodesItKnows) {
  for (const MMRESULT known :
       {MMSYSERR_NOERROR, MMSYSERR_BADDEVICEID, MMSYSERR_ALLOCATED, MMSYSERR_INVALHANDLE, MMSYSERR_NODRIVER,
        MMSYSERR_NOMEM, MMSYSERR_INVALPARAM, WAVERR_BADFORMAT, WAVERR_STILLPLAYING, WAVERR_UNPREPARED})
    EXPECT_EQ(static_cast<MMRESULT>(audio::fromMmResult(known)), known);
  // Anything else is a failure, never a success.
  for (const MMRESULT other : std::initializer_list<MMRESULT>{MMSYSERR_ERROR, MMSYSERR_HANDLEBUSY, WAVERR_SYNC, 9999})
    EXPECT_EQ(audio::fromMmResult(other), audio::WaveResult::Error);
}

} // namespace

#endif
