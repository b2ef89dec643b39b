// The wave-out devices and the buffer queue over them: what a device plays,
// how buffers come back (played, reset, refused), the recording device's
// file, and the lock's report of a failed wait.
#include "platform/Sync.h"
#include "platform/WaveOutDriver.h"
#include "platform/WaveOutVirtual.h"
#include "playback/RSynchro.h"
#include "playback/RWaveOut.h"
#include "testutil/TempDir.h"

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
  plat::VirtualWaveOut device;
  RWaveOut out;
  ASSERT_EQ(out.Open(Stereo(8000)), plat::kWaveOk);
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
  plat::VirtualWaveOut device;
  RWaveOut out;
  ASSERT_EQ(out.Open(Stereo(8000)), plat::kWaveOk);
  out.Write(Ramp(8, 0), 1000);
  EXPECT_EQ(device.sessions()[0].writtenBytes, std::vector<std::uint32_t>{16});
}

TEST(RWaveOut, ResetHandsEveryBufferBackToTheNextReapAndDrain) {
  plat::VirtualWaveOut device;
  for (const bool drain : {false, true}) {
    RWaveOut out;
    ASSERT_EQ(out.Open(Stereo(8000)), plat::kWaveOk);
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
  plat::VirtualWaveOut device;
  RWaveOut out;
  ASSERT_EQ(out.Open(Stereo(8000)), plat::kWaveOk);
  device.setWriteResult(plat::kWaveErrInvalidParam);
  out.Write(Ramp(8, 0), 4);
  out.Write(Ramp(8, 0), 4);
  EXPECT_EQ(out.Reap(), 2);
  out.Write(Ramp(8, 0), 4);
  out.Drain();
  EXPECT_EQ(out.Queued(), 0u);
  out.Close();
}

TEST(RWaveOut, WritesWithoutAnOpenDeviceAreReleased) {
  plat::VirtualWaveOut device;
  device.setOpenResult(plat::kWaveErrBadDevice);
  RWaveOut out;
  EXPECT_EQ(out.Open(Stereo(8000)), plat::kWaveErrBadDevice);
  out.Write(Ramp(8, 0), 4);
  EXPECT_EQ(out.Reap(), 1);
  out.Close();
}

TEST(RWaveOut, ReportsTheOpenResultsThePartsReactTo) {
  plat::VirtualWaveOut device;
  for (const int result : {plat::kWaveErrAllocated, plat::kWaveErrBadFormat, plat::kWaveErrNoDriver}) {
    device.setOpenResult(result);
    RWaveOut out;
    EXPECT_EQ(out.Open(Stereo(8000)), result);
    EXPECT_FALSE(out.IsOpen());
  }
  device.setOpenResult(plat::kWaveOk);
  TkwWaveFormat eightBit = Stereo(8000);
  eightBit.bitsPerSample = 8;
  RWaveOut out;
  EXPECT_EQ(out.Open(eightBit), plat::kWaveErrBadFormat);
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

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

class ScopedDriver {
public:
  explicit ScopedDriver(std::unique_ptr<plat::WaveOutDriver> driver) : driver_(std::move(driver)) {
    plat::setWaveOutDriverOverride(driver_.get());
  }
  ~ScopedDriver() { plat::setWaveOutDriverOverride(nullptr); }
  plat::WaveOutDriver* get() const { return driver_.get(); }

private:
  std::unique_ptr<plat::WaveOutDriver> driver_;
};

TEST(RecordingDevice, WritesWhatItPlaysToAWaveFileOneOpeningAtATime) {
  testutil::TempDir dir;
  const std::string path = dir.file("out.wav");
  {
    ScopedDriver driver(plat::makeWaveOutDriver("record:" + path + ":fast"));
    ASSERT_NE(driver.get(), nullptr);
    for (std::int16_t first : {0, 1000}) { // two openings in one format share the file
      RWaveOut out;
      ASSERT_EQ(out.Open(Stereo(11025)), plat::kWaveOk);
      RWaveOut second;
      EXPECT_EQ(second.Open(Stereo(11025)), plat::kWaveErrAllocated);
      out.Write(Ramp(6, first), 3);
      out.Drain();
      out.Close();
    }
    // A probe of the device in another format records nothing.
    std::unique_ptr<plat::WaveOutDevice> probe;
    ASSERT_EQ(plat::waveOutOpen(probe, plat::pcm16Format(1, 8000), nullptr), plat::kWaveOk);
    probe->close();
    RWaveOut other; // another format starts the next file
    ASSERT_EQ(other.Open(Stereo(22050)), plat::kWaveOk);
    other.Write(Ramp(4, 7), 2);
    other.Drain();
    other.Close();
  }
  const std::vector<std::uint8_t> bytes = testutil::ReadBytes(path);
  ASSERT_EQ(bytes.size(), 44u + 24u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
  EXPECT_EQ(Le32(bytes, 4), 36u + 24u);
  EXPECT_EQ(Le32(bytes, 24), 11025u);
  EXPECT_EQ(Le32(bytes, 40), 24u);
  EXPECT_EQ(bytes[44 + 2], 1);            // second sample of the first opening
  EXPECT_EQ(bytes[44 + 12], 1000 & 0xFF); // first sample of the second opening
  const std::vector<std::uint8_t> next = testutil::ReadBytes(dir.file("out-2.wav"));
  ASSERT_EQ(next.size(), 44u + 8u);
  EXPECT_EQ(Le32(next, 24), 22050u);
}

TEST(DeviceSelection, NamesTheKnownDevicesOnly) {
  for (const char* known : {"", "sdl", "winmm", "silent", "record:x.wav", "record:C:\\a b\\x.wav:fast"})
    EXPECT_NE(plat::makeWaveOutDriver(known), nullptr) << known;
  for (const char* unknown : {"speaker", "record:", "record::fast"})
    EXPECT_EQ(plat::makeWaveOutDriver(unknown), nullptr) << unknown;
}

TEST(SilentDevice, ConsumesBuffersInRealTime) {
  ScopedDriver driver(plat::makeWaveOutDriver("silent"));
  RWaveOut out;
  ASSERT_EQ(out.Open(Stereo(8000)), plat::kWaveOk);
  out.Write(std::vector<std::int16_t>(2 * 400), 400); // 50 ms
  int released = 0;
  for (int tries = 0; tries < 10 && released == 0; ++tries)
    released += out.Reap();
  EXPECT_EQ(released, 1);
  out.Close();
}

} // namespace
