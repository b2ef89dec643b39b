// TKW_AUDIO_DEVICE's values: which ones name a device.
#include "audio/WaveOutDriver.h"

#include <gtest/gtest.h>

namespace {

TEST(DeviceSelection, NamesTheKnownDevicesOnly) {
  for (const char* known : {"", "sdl", "winmm", "silent", "record:x.wav", "record:C:\\a b\\x.wav:fast"})
    EXPECT_NE(audio::makeWaveOutDriver(known), nullptr) << known;
  for (const char* unknown : {"speaker", "record:", "record::fast"})
    EXPECT_EQ(audio::makeWaveOutDriver(unknown), nullptr) << unknown;
}

} // namespace
