// The buffer queue over the wave-out device: what reaches the device, how
// buffers come back (played, reset, refused), the open results its owners
// react to, and the lock's report of a failed wait.
#include "playback/RSynchro.h"
#include "playback/RWaveOut.h"
#include "testutil/VirtualWaveOut.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

TkwWaveFormat Stereo(std::uint32_t rate) {
  TkwWaveFormat format{};
  format.formatTag = 1;
  format.channels = 2;
  format.samplesPerSec = rate;
  format.blockAlign = 4;
  format.avgBytesPerSec = rate * 4;
  format.bitsPerSample = 16;
  return format;
}

std::vector<std::int16_t> Ramp(std::size_t count, std::int16_t first) {
  std::vector<std::int16_t> samples(count);
  std::iota(samples.begin(), samples.end(), first);
  return samples;
}

TEST(RWaveOut, PlaysBuffersInOrderAndReleasesThemAsTheyFinish) {
  testutil::VirtualWaveOut device;
  RWaveOut out;
  ASSERT_EQ(out.Open(Stereo(8000)), audio::WaveResult::Ok);
  out.Write(Ramp(20, 0), 10);
  out.Write(Ramp(8, 100), 4);
  out.Write({}, 0); // an empty buffer is still queued
  ASSERT_EQ(device.sessions()[0].writtenBytes, (std::vector<std::uint32_t>{40, 16, 0}));

  EXPECT_EQ(device.play(6), 6u);
  EXPECT_EQ(device.queuedBuffers(), 3u); // the head is half played: nothing has come back
  device.play(100);
  EXPECT_EQ(out.Reap(), 3);
  out.Close();

  std::vector<std::int16_t> expected = Ramp(20, 0);
  const std::vector<std::int16_t> second = Ramp(8, 100);
  expected.insert(expected.end(), second.begin(), second.end());
  const auto session = device.sessions()[0];
  EXPECT_EQ(session.played, expected);
  EXPECT_FALSE(session.open);
}

TEST(RWaveOut, FramesBeyondTheBlockAreNeverSent) {
  testutil::VirtualWaveOut device;
  RWaveOut out;
  ASSERT_EQ(out.Open(Stereo(8000)), audio::WaveResult::Ok);
  out.Write(Ramp(8, 0), 1000);
  EXPECT_EQ(device.sessions()[0].writtenBytes, std::vector<std::uint32_t>{16});
}

TEST(RWaveOut, ResetHandsEveryBufferBackToTheNextReapAndDrain) {
  testutil::VirtualWaveOut device;
  for (const bool drain : {false, true}) {
    RWaveOut out;
    ASSERT_EQ(out.Open(Stereo(8000)), audio::WaveResult::Ok);
    for (int i = 0; i < 3; ++i)
      out.Write(Ramp(40, 0), 10);
    out.Reset();
    if (drain)
      out.Drain();
    else
      EXPECT_EQ(out.Reap(), 3);
    EXPECT_EQ(out.Queued(), 0u);
    out.Close();
  }
}

TEST(RWaveOut, RefusedBuffersAreReleasedInsteadOfWaitedFor) {
  testutil::VirtualWaveOut device;
  RWaveOut out;
  ASSERT_EQ(out.Open(Stereo(8000)), audio::WaveResult::Ok);
  device.setWriteResult(audio::WaveResult::InvalidParam);
  out.Write(Ramp(8, 0), 4);
  out.Write(Ramp(8, 0), 4);
  EXPECT_EQ(out.Reap(), 2);
  out.Write(Ramp(8, 0), 4);
  out.Drain();
  EXPECT_EQ(out.Queued(), 0u);
  out.Close();
}

TEST(RWaveOut, WritesWithoutAnOpenDeviceAreReleased) {
  testutil::VirtualWaveOut device;
  device.setOpenResult(audio::WaveResult::BadDevice);
  RWaveOut out;
  EXPECT_EQ(out.Open(Stereo(8000)), audio::WaveResult::BadDevice);
  out.Write(Ramp(8, 0), 4);
  EXPECT_EQ(out.Reap(), 1);
  out.Close();
}

TEST(RWaveOut, ReportsTheOpenResultsThePartsReactTo) {
  testutil::VirtualWaveOut device;
  for (const audio::WaveResult result :
       {audio::WaveResult::Allocated, audio::WaveResult::BadFormat, audio::WaveResult::NoDriver}) {
    device.setOpenResult(result);
    RWaveOut out;
    EXPECT_EQ(out.Open(Stereo(8000)), result);
    EXPECT_FALSE(out.IsOpen());
  }
  device.setOpenResult(audio::WaveResult::Ok);
  TkwWaveFormat eightBit = Stereo(8000);
  eightBit.bitsPerSample = 8;
  RWaveOut out;
  EXPECT_EQ(out.Open(eightBit), audio::WaveResult::BadFormat);
}

struct FailingMutex {
  int lock() { return 0x80; }
  void unlock() { ++unlocks; }
  int unlocks = 0;
};

TEST(RSynchro, AFailedWaitIsReportedAndTheWorkGoesOn) {
  FailingMutex mutex;
  bool ran = false;
  testing::internal::CaptureStdout();
  {
    RSynchroOf<FailingMutex> lock(mutex);
    ran = true;
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "RSynchro : re=128\n");
  EXPECT_TRUE(ran);
  EXPECT_EQ(mutex.unlocks, 0); // nothing was acquired, so nothing is released
}

} // namespace
