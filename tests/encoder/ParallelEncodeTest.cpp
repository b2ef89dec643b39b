// The worker pool: the same bytes for any number of threads, a stop that
// reaches every worker, and one progress stream that ends at the total.
#include "EncoderFixtures.h"
#include "SearchFixtures.h"

#include "encoder/EncodeDriver.h"
#include "platform/Files.h"
#include "support/Exceptions.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

using namespace enc_test;
using testutil::FileExists;

namespace {

// Two sectors per channel, the second short; sound at the start, in the
// middle, and across the sector boundary, silence (quick to search) between.
std::vector<std::int16_t> TwoSectors(int channels) {
  const std::size_t total = 131072 + 2500;
  std::vector<std::int16_t> frames(total * channels, 0);
  const std::vector<std::int16_t> speech = MakeSignal(Signal::Speech, static_cast<std::uint32_t>(total), channels);
  const std::vector<std::int16_t> loud = MakeSignal(Signal::Loud, 3000, channels);
  auto copy = [&](const std::vector<std::int16_t>& from, std::size_t first, std::size_t count) {
    std::copy(from.begin() + first * channels, from.begin() + (first + count) * channels,
              frames.begin() + first * channels);
  };
  copy(speech, 0, 5000);
  copy(speech, 129500, total - 129500);
  std::copy(loud.begin(), loud.end(), frames.begin() + 60000 * channels);
  return frames;
}

// More chunks than the pool keeps in flight for 7 threads (9), so a stop at
// the first progress report after a chunk is finished always falls before the
// end; silence after the first sector keeps it quick.
std::vector<std::int16_t> ManySectors(int channels) {
  std::vector<std::int16_t> frames = TwoSectors(channels);
  frames.resize(std::size_t{131072} * 5 * static_cast<std::size_t>(channels), 0);
  return frames;
}

std::vector<std::uint8_t> Encode(const std::string& wave, const std::string& folder, EncoderSettings settings,
                                 int threads, BatchKernel kernel) {
  settings.bRemake = 1;
  RecordingCallbacks callbacks;
  EncodeDriver driver(settings, callbacks);
  driver.SetThreadCount(threads);
  driver.SetSearchKernel(kernel);
  driver.EncodeOne(wave, folder);
  EXPECT_EQ(driver.counts().encoded, 1);
  EXPECT_FALSE(callbacks.progressWentBack);
  // The last progress report is the whole file.
  EXPECT_EQ(callbacks.lastDone, callbacks.lastTotal);
  return testutil::ReadBytes(folder + plat::kPathSeparator + EncodeDriver::OutputName(wave));
}

} // namespace

TEST(ParallelEncode, SameBytesForAnyThreadCount) {
  testutil::TempDir dir;
  const std::string stereo = dir.file("stereo.wav");
  WriteWave(stereo, TwoSectors(2), 2, 44100);
  for (int version = 1; version <= 3; ++version) {
    SCOPED_TRACE(testing::Message() << "version " << version);
    EncoderSettings settings;
    settings.EncodeVersion = version;
    const std::vector<std::uint8_t> reference = Encode(stereo, dir.path(), settings, 1, nullptr);
    for (int threads : {1, 2, 7})
      EXPECT_EQ(Encode(stereo, dir.path(), settings, threads, DefaultSearch().kernel), reference)
          << threads << " threads";
  }
}

TEST(ParallelEncode, StopInTheMiddleRemovesOnlyTheUnfinishedFile) {
  testutil::TempDir in, out;
  WriteWave(in.file("1.wav"), MakeSignal(Signal::Speech, 2000, 1));
  WriteWave(in.file("2.wav"), ManySectors(2), 2);
  WriteWave(in.file("3.wav"), MakeSignal(Signal::Speech, 2000, 1));
  EncoderSettings settings;
  for (int threads : {2, 7}) {
    SCOPED_TRACE(testing::Message() << threads << " threads");
    RecordingCallbacks callbacks;
    EncodeDriver driver(settings, callbacks);
    driver.SetThreadCount(threads);
    // The files in the order the folder lists them; stop in the stereo one.
    driver.EncodeOne(in.file("1.wav"), out.path());
    callbacks.cancelInFile = 2;
    callbacks.cancelAtDone = 1;
    EXPECT_THROW(driver.EncodeOne(in.file("2.wav"), out.path()), User_Cannceled);
    EXPECT_LT(callbacks.lastDone, callbacks.lastTotal);
    EXPECT_TRUE(FileExists(out.file("1.tkw")));
    EXPECT_FALSE(FileExists(out.file("2.tkw")));
    EXPECT_FALSE(FileExists(EncodeDriver::PartialPath(out.file("2.tkw"))));
    EXPECT_EQ(callbacks.ended, 1);
    // The pool is still usable after a stop.
    callbacks.cancelInFile = 0;
    driver.EncodeOne(in.file("2.wav"), out.path());
    EXPECT_TRUE(FileExists(out.file("2.tkw")));
    plat::removeFile(out.file("1.tkw").c_str());
    plat::removeFile(out.file("2.tkw").c_str());
  }
}

// Folder mode keeps the order of files and of their log lines.
TEST(ParallelEncode, FolderOrderAndLogLinesStay) {
  testutil::TempDir in, out;
  for (const char* name : {"a.wav", "b.wav", "c.wav"})
    WriteWave(in.file(name), TwoSectors(1), 1);
  testutil::WriteBytes(in.file("bad.wav"), {'R', 'I', 'F', 'F'});
  EncoderSettings settings;
  std::vector<std::string> expectedStarts;
  std::vector<std::string> expectedLog;
  for (int threads : {1, 2}) {
    testutil::TempDir target;
    RecordingCallbacks callbacks;
    EncodeDriver driver(settings, callbacks);
    driver.SetThreadCount(threads);
    driver.EncodeFolder(in.path(), target.path());
    EXPECT_EQ(driver.counts().encoded, 3);
    EXPECT_EQ(driver.counts().failed, 1);
    if (threads == 1) {
      expectedStarts = callbacks.started;
      expectedLog = callbacks.log;
    } else {
      EXPECT_EQ(callbacks.started, expectedStarts);
      EXPECT_EQ(callbacks.log, expectedLog);
    }
  }
}
