// Files that fail while they are encoded: a full disk, an input cut short,
// and the reason every failure reports; the totals of the encoded files.
#include "EncoderFixtures.h"

#include "encoder/EncodeDriver.h"
#include "platform/Files.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace enc_test;
using testutil::FileExists;

namespace {

// A full disk is no fault of the input, and the log says so.
constexpr const char* kCannotWrite = "Tkwファイルを作成できません。スキップします。";

// Lifts the simulated limit whatever the test does.
struct FreeSpace {
  explicit FreeSpace(std::uint64_t bytes) { plat::simulateFreeSpace(bytes); }
  ~FreeSpace() { plat::simulateFreeSpace(plat::kUnlimited); }
};

} // namespace

TEST(FileFailures, FullDiskFailsTheFileAndRemovesIt) {
  testutil::TempDir dir;
  const std::string wave = dir.file("song.wav");
  WriteWave(wave, MakeSignal(Signal::Speech, 140000, 2), 2);
  EncoderSettings settings;
  settings.bRemake = 1;
  std::size_t fullSize = 0;
  {
    RecordingCallbacks callbacks;
    EncodeDriver driver(settings, callbacks);
    driver.EncodeOne(wave, dir.path());
    fullSize = testutil::ReadBytes(dir.file("song.tkw")).size();
  }
  ASSERT_GT(fullSize, 1000u);
  // An older output of the same name stays as it was.
  testutil::WriteBytes(dir.file("song.tkw"), {7, 7, 7});
  // Room for nothing, for part of the first chunk, for all but the header's
  // last byte (the header is written last).
  for (std::uint64_t room : {std::uint64_t{0}, std::uint64_t{100}, std::uint64_t{fullSize - 1}}) {
    for (int threads : {1, 2}) {
      SCOPED_TRACE(testing::Message() << room << " bytes free, " << threads << " threads");
      RecordingCallbacks callbacks;
      EncodeDriver driver(settings, callbacks);
      driver.SetThreadCount(threads);
      {
        FreeSpace full(room);
        driver.EncodeOne(wave, dir.path());
      }
      EXPECT_EQ(driver.counts().encoded, 0);
      EXPECT_EQ(driver.counts().failed, 1);
      EXPECT_EQ(callbacks.ended, 0);
      EXPECT_EQ(callbacks.failures, (std::vector<std::string>{wave + ": the disk is full"}));
      EXPECT_EQ(callbacks.log, (std::vector<std::string>{kCannotWrite}));
      EXPECT_FALSE(FileExists(EncodeDriver::PartialPath(dir.file("song.tkw"))));
      EXPECT_EQ(testutil::ReadBytes(dir.file("song.tkw")), (std::vector<std::uint8_t>{7, 7, 7}));
    }
  }
}

#ifndef _WIN32
// Windows does not let another program shorten a file that is open for
// reading without write sharing; elsewhere the wave file may shrink while it
// is encoded.
TEST(FileFailures, InputCutShortWhileEncodedFails) {
  struct Truncating : RecordingCallbacks {
    std::string path;
    void OnProgress(std::uint64_t total, std::uint64_t done) override {
      if (!path.empty()) std::filesystem::resize_file(path, 44 + 4000);
      path.clear();
      RecordingCallbacks::OnProgress(total, done);
    }
  };
  testutil::TempDir dir;
  const std::string wave = dir.file("cut.wav");
  for (int threads : {1, 2}) {
    SCOPED_TRACE(testing::Message() << threads << " threads");
    WriteWave(wave, MakeSignal(Signal::Speech, 300000, 1), 1);
    Truncating callbacks;
    callbacks.path = wave;
    EncoderSettings settings;
    settings.bRemake = 1;
    EncodeDriver driver(settings, callbacks);
    driver.SetThreadCount(threads);
    driver.EncodeOne(wave, dir.path());
    EXPECT_EQ(driver.counts().failed, 1);
    ASSERT_EQ(callbacks.failures.size(), 1u);
    EXPECT_NE(callbacks.failures[0].find("the input ended early"), std::string::npos) << callbacks.failures[0];
    EXPECT_FALSE(FileExists(dir.file("cut.tkw")));
    EXPECT_FALSE(FileExists(EncodeDriver::PartialPath(dir.file("cut.tkw"))));
  }
}
#endif

TEST(FileFailures, EveryFailureNamesItsReason) {
  testutil::TempDir dir;
  const std::vector<std::uint8_t> pcm = Pcm16Bytes(MakeSignal(Signal::Sweep, 200, 1));
  WaveLayout list, listFirst, floatingPoint, eightBit, cutShort;
  list.listChunk = true;
  listFirst.firstChunk = "LIST";
  floatingPoint.formatTag = 3;
  eightBit.bitsPerSample = 8;
  cutShort.dataSizeDelta = 100;
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes; // empty: no file
    std::vector<std::string> reasonParts;
  } cases[] = {
      {"missing", {}, {"the input does not exist"}},
      {"short", {'R', 'I', 'F', 'F'}, {"not a RIFF WAVE file"}},
      {"list", MakeWave(pcm, list), {"\"LIST\" chunk where the format expects \"data\"", "sox in.wav -t wav out.wav"}},
      {"listfirst", MakeWave(pcm, listFirst), {"\"LIST\" chunk where the format expects \"fmt \""}},
      {"float", MakeWave(pcm, floatingPoint), {"not PCM", "3"}},
      {"eightbit", MakeWave(pcm, eightBit), {"not 16-bit PCM", "8 bits"}},
      {"cut", MakeWave(pcm, cutShort), {"\"data\" chunk declares 500 bytes, but only 400 follow"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string wave = dir.file(std::string(c.name) + ".wav");
    if (!c.bytes.empty()) testutil::WriteBytes(wave, c.bytes);
    RecordingCallbacks callbacks;
    EncoderSettings settings;
    EncodeDriver driver(settings, callbacks);
    driver.EncodeOne(wave, dir.path());
    EXPECT_EQ(driver.counts().failed, 1);
    ASSERT_EQ(callbacks.failures.size(), 1u);
    for (const std::string& part : c.reasonParts)
      EXPECT_NE(callbacks.failures[0].find(part), std::string::npos) << callbacks.failures[0];
    EXPECT_EQ(callbacks.failures[0].rfind(wave + ": ", 0), 0u) << callbacks.failures[0];
  }
  // An output folder that is not there.
  testutil::WriteBytes(dir.file("fine.wav"), MakeWave(pcm));
  RecordingCallbacks callbacks;
  EncoderSettings settings;
  EncodeDriver driver(settings, callbacks);
  driver.EncodeOne(dir.file("fine.wav"), dir.file("no-such-folder"));
  ASSERT_EQ(callbacks.failures.size(), 1u);
  EXPECT_NE(callbacks.failures[0].find("cannot create "), std::string::npos);
}

TEST(FileFailures, TotalsOfTheEncodedFiles) {
  testutil::TempDir in, out;
  WriteWave(in.file("a.wav"), MakeSignal(Signal::Speech, 22050, 1), 1, 22050);
  WriteWave(in.file("b.wav"), MakeSignal(Signal::Sweep, 4000, 2), 2, 8000);
  testutil::WriteBytes(in.file("c.wav"), {'R', 'I', 'F', 'F'});
  EncoderSettings settings;
  RecordingCallbacks callbacks;
  EncodeDriver driver(settings, callbacks);
  driver.EncodeFolder(in.path(), out.path());
  const EncodeDriver::Counts& counts = driver.counts();
  EXPECT_EQ(counts.encoded, 2);
  EXPECT_EQ(counts.inputBytes,
            testutil::ReadBytes(in.file("a.wav")).size() + testutil::ReadBytes(in.file("b.wav")).size());
  EXPECT_EQ(counts.outputBytes,
            testutil::ReadBytes(out.file("a.tkw")).size() + testutil::ReadBytes(out.file("b.tkw")).size());
  EXPECT_DOUBLE_EQ(counts.audioSeconds, 1.0 + 0.5);
}
