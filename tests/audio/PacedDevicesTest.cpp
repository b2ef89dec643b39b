// The devices for machines without a sound card: the silent one plays in real
// time, the recording one writes what it plays to a wave file that is
// complete whenever no device is open.
#include "audio/WaveOutDriver.h"
#include "platform/Sync.h"
#include "support/MemoryByteSource.h"
#include "testutil/TempDir.h"
#include "wave/RWaveFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <vector>

namespace {

using audio::WaveResult;

std::vector<std::int16_t> Ramp(std::size_t count, std::int16_t first) {
  std::vector<std::int16_t> samples(count);
  std::iota(samples.begin(), samples.end(), first);
  return samples;
}

// One opening of a device, fed one buffer at a time.
class Opening {
public:
  Opening(audio::WaveOutDriver& driver, const audio::WaveFormat& format)
      : result_(driver.open(device_, format, &done_)) {}
  ~Opening() {
    if (device_) {
      device_->reset();
      device_->close();
    }
  }

  WaveResult result() const { return result_; }

  // Plays the samples and waits (at most 10 s) until the device is done with them.
  bool Play(const std::vector<std::int16_t>& samples) {
    audio::WaveHeader header;
    header.data = reinterpret_cast<const char*>(samples.data());
    header.bytes = static_cast<std::uint32_t>(samples.size() * 2);
    if (device_->prepare(header) != WaveResult::Ok || device_->write(header) != WaveResult::Ok) return false;
    for (int i = 0; i < 100 && !header.done(); ++i)
      done_.wait(100);
    const bool played = header.done();
    if (!played) device_->reset(); // the buffer must not stay queued past this scope
    device_->unprepare(header);
    return played;
  }

  WaveResult Close() {
    const WaveResult result = device_->close();
    if (result == WaveResult::Ok) device_.reset();
    return result;
  }

  audio::WaveOutDevice& device() { return *device_; }

private:
  plat::Event done_{true, false};
  std::unique_ptr<audio::WaveOutDevice> device_;
  WaveResult result_;
};

// The samples of a wave file, read back with the reader; the file must hold
// exactly its header and the samples it announces. Its bytes are taken first:
// the recorder may still hold the file open, which Windows lets a reader
// share only without the reader's own share mode.
std::vector<std::int16_t> ReadWave(const std::string& path, std::uint16_t channels, std::uint32_t rate) {
  RWaveFile wave;
  wave.Open(std::make_unique<MemoryByteSource>(testutil::ReadBytes(path)));
  EXPECT_EQ(wave.channels, channels);
  EXPECT_EQ(wave.sampleRate, rate);
  EXPECT_EQ(wave.Size(), 44 + std::int64_t{wave.frames} * wave.blockAlign);
  std::vector<std::int16_t> samples(std::size_t{wave.frames} * channels);
  EXPECT_EQ(wave.Read(samples.data(), static_cast<std::uint32_t>(samples.size() * 2)), samples.size() * 2);
  return samples;
}

TEST(PacedDevices, RefuseFormatsTheyCannotPlay) {
  testutil::TempDir dir;
  for (const std::string& selection : {std::string("silent"), "record:" + dir.file("x.wav")}) {
    SCOPED_TRACE(selection);
    auto driver = audio::makeWaveOutDriver(selection);
    audio::WaveFormat eightBit = audio::pcm16Format(2, 8000);
    eightBit.bitsPerSample = 8;
    EXPECT_EQ(driver->query(eightBit), WaveResult::BadFormat);
    EXPECT_EQ(Opening(*driver, eightBit).result(), WaveResult::BadFormat);
    EXPECT_EQ(driver->query(audio::pcm16Format(2, 8000)), WaveResult::Ok);
  }
  EXPECT_FALSE(testutil::FileExists(dir.file("x.wav")));
}

TEST(SilentDevice, ConsumesBuffersNoFasterThanRealTime) {
  auto driver = audio::makeWaveOutDriver("silent");
  Opening opening(*driver, audio::pcm16Format(1, 8000));
  ASSERT_EQ(opening.result(), WaveResult::Ok);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(opening.Play(std::vector<std::int16_t>(400))); // 50 ms
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
  EXPECT_EQ(opening.Close(), WaveResult::Ok);
}

TEST(SilentDevice, AResetCutsALongBufferShort) {
  auto driver = audio::makeWaveOutDriver("silent");
  Opening opening(*driver, audio::pcm16Format(2, 44100));
  ASSERT_EQ(opening.result(), WaveResult::Ok);
  const std::vector<std::int16_t> minute(2 * 44100 * 60);
  audio::WaveHeader header;
  header.data = reinterpret_cast<const char*>(minute.data());
  header.bytes = static_cast<std::uint32_t>(minute.size() * 2);
  ASSERT_EQ(opening.device().prepare(header), WaveResult::Ok);
  ASSERT_EQ(opening.device().write(header), WaveResult::Ok);
  EXPECT_EQ(opening.Close(), WaveResult::StillPlaying);
  EXPECT_EQ(opening.device().reset(), WaveResult::Ok);
  EXPECT_TRUE(header.done());
  EXPECT_EQ(opening.device().unprepare(header), WaveResult::Ok);
  EXPECT_EQ(opening.Close(), WaveResult::Ok);
}

TEST(RecordingDevice, KeepsItsFileCompleteAfterEveryCloseAndGivesANewFormatANewFile) {
  testutil::TempDir dir;
  const std::string path = dir.file("out.wav");
  auto driver = audio::makeWaveOutDriver("record:" + path + ":fast");
  ASSERT_NE(driver, nullptr);
  std::vector<std::int16_t> recorded;
  for (const std::int16_t first : {0, 1000}) { // two openings in one format share the file
    Opening opening(*driver, audio::pcm16Format(2, 11025));
    ASSERT_EQ(opening.result(), WaveResult::Ok);
    EXPECT_EQ(Opening(*driver, audio::pcm16Format(2, 11025)).result(), WaveResult::Allocated);
    const std::vector<std::int16_t> samples = Ramp(6, first);
    ASSERT_TRUE(opening.Play(samples));
    ASSERT_EQ(opening.Close(), WaveResult::Ok);
    recorded.insert(recorded.end(), samples.begin(), samples.end());
    EXPECT_EQ(ReadWave(path, 2, 11025), recorded); // complete while the driver lives on
  }

  // A probe of the device (no completion event) in another format records nothing.
  std::unique_ptr<audio::WaveOutDevice> probed;
  ASSERT_EQ(driver->open(probed, audio::pcm16Format(1, 8000), nullptr), WaveResult::Ok);
  EXPECT_EQ(probed->close(), WaveResult::Ok);
  EXPECT_FALSE(testutil::FileExists(dir.file("out-2.wav")));

  {
    Opening other(*driver, audio::pcm16Format(2, 22050));
    ASSERT_EQ(other.result(), WaveResult::Ok);
    ASSERT_TRUE(other.Play(Ramp(4, 7)));
  } // closed by going out of scope, cut short or not
  driver.reset();
  EXPECT_EQ(ReadWave(path, 2, 11025), recorded);
  EXPECT_EQ(ReadWave(dir.file("out-2.wav"), 2, 22050), Ramp(4, 7));
}

} // namespace
