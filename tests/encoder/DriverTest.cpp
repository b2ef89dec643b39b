// The driver: output names, skipping, the folder walk, failed and cancelled
// files, and the header it writes.
#include "EncoderFixtures.h"

#include "encoder/EncodeDriver.h"
#include "platform/Files.h"
#include "support/Exceptions.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace enc_test;
using testutil::FileExists;

namespace {

constexpr const char* kUnsuitable = "エンコードに適さない、もしくは不正なフォーマットです。スキップします。";
constexpr const char* kSkipped = "　すでにTkwファイルが存在するため、スキップします。";

std::string Sep() { return std::string(1, plat::kPathSeparator); }

void WriteShortWave(const std::string& path, int channels = 1) {
  WriteWave(path, MakeSignal(Signal::Sweep, 300, channels), channels);
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace

TEST(Driver, OutputNames) {
  const std::pair<std::string, std::string> cases[] = {
      {"x.WAV", "x.tkw"},
      {"a.b.wav", "a.b.tkw"},
      {"dir" + Sep() + "song.wav", "song.tkw"},
      {"d.ir" + Sep() + "noext", "noext.tkw"},
      {"plain", "plain.tkw"},
  };
  for (const auto& [wave, name] : cases)
    EXPECT_EQ(EncodeDriver::OutputName(wave), name) << wave;
}

TEST(Driver, ExistingOutputIsSkippedUnlessRemade) {
  testutil::TempDir dir;
  const std::string wave = dir.file("a.b.wav");
  WriteShortWave(wave);
  EncoderSettings settings;
  {
    RecordingCallbacks callbacks;
    EncodeDriver driver(settings, callbacks);
    driver.EncodeOne(wave, dir.path());
    EXPECT_EQ(driver.counts().encoded, 1);
  }
  const std::string output = dir.file("a.b.tkw");
  ASSERT_TRUE(FileExists(output));
  testutil::WriteBytes(output, {1, 2, 3}); // a marker to see whether it is replaced

  RecordingCallbacks skipping;
  EncodeDriver again(settings, skipping);
  again.EncodeOne(wave, dir.path());
  EXPECT_EQ(again.counts().skipped, 1);
  EXPECT_TRUE(skipping.started.empty());
  EXPECT_EQ(skipping.log, (std::vector<std::string>{"※" + wave, kSkipped}));
  EXPECT_EQ(testutil::ReadBytes(output).size(), 3u);

  settings.bRemake = 1;
  RecordingCallbacks remaking;
  EncodeDriver remake(settings, remaking);
  remake.EncodeOne(wave, dir.path());
  EXPECT_EQ(remake.counts().encoded, 1);
  EXPECT_GT(testutil::ReadBytes(output).size(), 28u);
}

// A path holding "%" is logged as it is, not as a format.
TEST(Driver, SkipLineKeepsPercentSigns) {
  testutil::TempDir dir;
  const std::string wave = dir.file("100%s.wav");
  WriteShortWave(wave);
  testutil::WriteBytes(dir.file("100%s.tkw"), {0});
  RecordingCallbacks callbacks;
  EncoderSettings settings;
  EncodeDriver driver(settings, callbacks);
  driver.EncodeOne(wave, dir.path());
  ASSERT_FALSE(callbacks.log.empty());
  EXPECT_EQ(callbacks.log[0], "※" + wave);
}

TEST(Driver, FolderWalk) {
  for (int searchSub : {1, 0}) {
    SCOPED_TRACE(searchSub);
    testutil::TempDir in, out;
    WriteShortWave(in.file("a.wav"));
    WriteShortWave(in.file("B.WAV"), 2);
    WriteShortWave(in.file("x.wave"));
    WriteShortWave(in.file("wav"));
    plat::makeDirectory(in.file("sub").c_str());
    WriteShortWave(in.file("sub" + Sep() + "c.wav"));
    plat::makeDirectory(in.file("empty").c_str());
    plat::makeDirectory(in.file("empty" + Sep() + "deeper").c_str());

    EncoderSettings settings;
    settings.bSearchSub = searchSub;
    RecordingCallbacks callbacks;
    EncodeDriver driver(settings, callbacks);
    driver.EncodeFolder(in.path(), out.path());

    EXPECT_TRUE(FileExists(out.file("a.tkw")));
    EXPECT_TRUE(FileExists(out.file("B.tkw")));
    EXPECT_FALSE(FileExists(out.file("x.tkw")));
    EXPECT_FALSE(FileExists(out.file("wav.tkw")));
    EXPECT_EQ(FileExists(out.file("sub" + Sep() + "c.tkw")), searchSub == 1);
    // Folders that received nothing are removed again.
    EXPECT_FALSE(plat::isDirectory(out.file("empty").c_str()));
    EXPECT_EQ(driver.counts().encoded, searchSub == 1 ? 3 : 2);
  }
}

TEST(Driver, EmptySourceFolderRemovesTheOutputFolder) {
  testutil::TempDir in, out;
  const std::string target = out.file("target");
  plat::makeDirectory(target.c_str());
  EncoderSettings settings;
  RecordingCallbacks callbacks;
  EncodeDriver driver(settings, callbacks);
  driver.EncodeFolder(in.path(), target);
  EXPECT_FALSE(plat::isDirectory(target.c_str()));
}

TEST(Driver, UnsuitableInputIsReportedAndTheNextFileEncoded) {
  testutil::TempDir in, out;
  WaveLayout eightBit;
  eightBit.bitsPerSample = 8;
  testutil::WriteBytes(in.file("a.wav"), MakeWave(std::vector<std::uint8_t>(400, 0x80), eightBit));
  WriteShortWave(in.file("b.wav"));
  testutil::WriteBytes(in.file("c.wav"), {'n', 'o', 't', ' ', 'w', 'a', 'v', 'e'});
  EncoderSettings settings;
  RecordingCallbacks callbacks;
  EncodeDriver driver(settings, callbacks);
  driver.EncodeFolder(in.path(), out.path());

  EXPECT_EQ(callbacks.started.size(), 3u);
  EXPECT_EQ(std::count(callbacks.log.begin(), callbacks.log.end(), kUnsuitable), 2);
  EXPECT_FALSE(FileExists(out.file("a.tkw")));
  EXPECT_FALSE(FileExists(EncodeDriver::PartialPath(out.file("a.tkw"))));
  EXPECT_FALSE(FileExists(out.file("c.tkw")));
  EXPECT_TRUE(FileExists(out.file("b.tkw")));
  EXPECT_EQ(driver.counts().failed, 2);
  EXPECT_EQ(driver.counts().encoded, 1);
}

// A remake whose input turns out to be unusable leaves the older output alone.
TEST(Driver, FailedRemakeKeepsTheOlderOutput) {
  testutil::TempDir dir;
  testutil::WriteBytes(dir.file("a.wav"), {'R', 'I', 'F', 'F'});
  testutil::WriteBytes(dir.file("a.tkw"), {9, 9, 9});
  EncoderSettings settings;
  settings.bRemake = 1;
  RecordingCallbacks callbacks;
  EncodeDriver driver(settings, callbacks);
  driver.EncodeOne(dir.file("a.wav"), dir.path());
  EXPECT_TRUE(Contains(callbacks.log, kUnsuitable));
  EXPECT_EQ(testutil::ReadBytes(dir.file("a.tkw")), (std::vector<std::uint8_t>{9, 9, 9}));
}

TEST(Driver, CancelDuringTheSecondFileKeepsTheFirst) {
  testutil::TempDir in, out;
  WriteShortWave(in.file("one.wav"));
  WriteShortWave(in.file("two.wav"));
  WriteShortWave(in.file("three.wav"));
  EncoderSettings settings;
  RecordingCallbacks callbacks;
  callbacks.cancelInFile = 2;
  callbacks.afterCalls = 3;
  EncodeDriver driver(settings, callbacks);
  EXPECT_THROW(driver.EncodeFolder(in.path(), out.path()), User_Cannceled);

  ASSERT_EQ(callbacks.started.size(), 2u);
  const std::string first = out.file(EncodeDriver::OutputName(callbacks.started[0]));
  const std::string second = out.file(EncodeDriver::OutputName(callbacks.started[1]));
  EXPECT_TRUE(FileExists(first));
  EXPECT_FALSE(FileExists(second));
  EXPECT_FALSE(FileExists(EncodeDriver::PartialPath(second)));
  EXPECT_EQ(callbacks.ended, 1);
}

TEST(Driver, HeaderAndSectorTable) {
  const struct {
    int version;
    std::size_t headerSize;
    std::uint32_t sizeAdjust; // declared size = file size - this
  } cases[] = {{1, 32, 4}, {2, 28, 0}, {3, 28, 0}};
  testutil::TempDir dir;
  // Stereo, two sectors: four chunks back to back.
  WriteWave(dir.file("s.wav"), MakeSignal(Signal::BurstAtEnd, 131073, 2), 2, 44100);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    EncoderSettings settings;
    settings.EncodeVersion = c.version;
    settings.bRemake = 1;
    settings.DestBits = 11;
    RecordingCallbacks callbacks;
    EncodeDriver driver(settings, callbacks);
    driver.EncodeOne(dir.file("s.wav"), dir.path());
    const std::vector<std::uint8_t> file = testutil::ReadBytes(dir.file("s.tkw"));
    ASSERT_GT(file.size(), c.headerSize + 32);
    EXPECT_EQ(Le32(file, 4), file.size() - c.sizeAdjust);
    const std::size_t lengthAt = c.version == 1 ? 8 : 12;
    EXPECT_EQ(Le32(file, lengthAt), 131073u);
    EXPECT_EQ(Le32(file, lengthAt + 4), 44100u);
    EXPECT_EQ(Le32(file, lengthAt + 8), 4u);
    EXPECT_EQ(file[24], 2);
    if (c.version == 1) {
      EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "Tkw@");
      EXPECT_EQ(file[20] | file[21] << 8, 3);
      EXPECT_EQ(file[22] | file[23] << 8, 15000);
      EXPECT_EQ(file[25], 8);
      EXPECT_EQ(file[26], 9);
      EXPECT_EQ(file[27], 11);
      EXPECT_EQ(Le32(file, 28), 1u);
    } else {
      EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "Tkw$");
      EXPECT_EQ(Le32(file, 8), static_cast<std::uint32_t>(c.version));
      EXPECT_EQ(file[25], 11);
    }
    std::uint32_t expectedOffset = 0;
    for (std::size_t e = 0; e < 4; ++e) {
      EXPECT_EQ(Le32(file, c.headerSize + 8 * e), expectedOffset) << "entry " << e;
      expectedOffset += Le32(file, c.headerSize + 8 * e + 4);
    }
    EXPECT_EQ(c.headerSize + 32 + expectedOffset, file.size());
    EXPECT_EQ(callbacks.lastTotal, 2u * 131073u);
  }
}

TEST(Driver, EmptyWaveGivesAnEmptyTable) {
  testutil::TempDir dir;
  WriteWave(dir.file("e.wav"), {});
  EncoderSettings settings;
  RecordingCallbacks callbacks;
  EncodeDriver driver(settings, callbacks);
  driver.EncodeOne(dir.file("e.wav"), dir.path());
  const std::vector<std::uint8_t> file = testutil::ReadBytes(dir.file("e.tkw"));
  ASSERT_EQ(file.size(), 28u);
  EXPECT_EQ(Le32(file, 4), 28u);
  EXPECT_EQ(Le32(file, 20), 0u);
}

TEST(Driver, UnusableSettingsAreRefusedBeforeAnyFile) {
  const struct {
    const char* name;
    void (*change)(EncoderSettings&);
  } cases[] = {
      {"MaxContrast 0", [](EncoderSettings& s) { s.MaxContrast = 0; }},
      {"MaxContrast 65536", [](EncoderSettings& s) { s.MaxContrast = 65536; }},
      {"MaxBrightness 0", [](EncoderSettings& s) { s.MaxBrightness = 0; }},
      {"MaxBrightness 70000", [](EncoderSettings& s) { s.MaxBrightness = 70000; }},
      {"DestBits 9", [](EncoderSettings& s) { s.DestBits = 9; }},
      {"DestBits 14", [](EncoderSettings& s) { s.DestBits = 14; }},
      {"EncodeVersion 4", [](EncoderSettings& s) { s.EncodeVersion = 4; }},
      {"ContrastBits 0", [](EncoderSettings& s) { s.ContrastBits = 0; }},
      {"negative MaxError2", [](EncoderSettings& s) { s.MaxError2 = -1; }},
  };
  testutil::TempDir dir;
  WriteShortWave(dir.file("a.wav"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EncoderSettings settings;
    c.change(settings);
    settings.readPath = dir.file("a.wav");
    settings.writePath = dir.path();
    RecordingCallbacks callbacks;
    EncodeDriver driver(settings, callbacks);
    try {
      driver.Run();
      ADD_FAILURE() << "accepted";
    } catch (const EC_BadSettings& bad) {
      EXPECT_FALSE(bad.message.empty());
    }
    EXPECT_TRUE(callbacks.started.empty());
    EXPECT_FALSE(FileExists(dir.file("a.tkw")));
  }
}
