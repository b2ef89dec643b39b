// The wave reader accepts exactly the 16-bit PCM layouts it can split into
// channels and refuses every file whose structure or sizes are wrong.
#include "EncoderFixtures.h"

#include "encoder/ChannelBuffers.h"
#include "encoder/RWaveFile.h"
#include "support/Exceptions.h"
#include "testutil/TempDir.h"

#include <gtest/gtest.h>

#include <functional>

using namespace enc_test;

namespace {

enum class Outcome { Opens, FileNotExist, NotWaveFormat, NotPCMFile };

Outcome TryOpen(const std::string& path, RWaveFile& wave) {
  try {
    wave.Open(path.c_str(), 0);
    return Outcome::Opens;
  } catch (const RWF_FileNotExist&) {
    return Outcome::FileNotExist;
  } catch (const RWF_NotWaveFormat&) {
    return Outcome::NotWaveFormat;
  } catch (const RWF_NotPCMFile&) {
    return Outcome::NotPCMFile;
  }
}

const std::vector<std::int16_t> kSamples = {1, -2, 3, -4, 5, -6, 7, -8, 9, -10};

} // namespace

TEST(WaveInput, AcceptsAndRefuses) {
  struct Case {
    const char* name;
    std::function<void(WaveLayout&)> change;
    std::vector<std::uint8_t> (*bytes)(const WaveLayout&); // null: kSamples as 16-bit PCM
    Outcome outcome;
    std::uint32_t frames;
  };
  auto truncated = [](const WaveLayout&) { return std::vector<std::uint8_t>{'R', 'I', 'F', 'F', 4, 0}; };
  auto oddData = [](const WaveLayout& l) {
    std::vector<std::uint8_t> payload = Pcm16(kSamples);
    payload.push_back(0x55);
    return MakeWave(payload, l);
  };
  const Case cases[] = {
      {"plain mono", [](WaveLayout&) {}, nullptr, Outcome::Opens, 10},
      {"stereo", [](WaveLayout& l) { l.channels = 2; }, nullptr, Outcome::Opens, 5},
      {"fmt chunk of 18 bytes", [](WaveLayout& l) { l.fmtSize = 18; }, nullptr, Outcome::Opens, 10},
      {"fact chunk before data", [](WaveLayout& l) { l.factChunk = true; }, nullptr, Outcome::Opens, 10},
      {"trailing bytes after the form",
       [](WaveLayout& l) {
         l.trailing = {1, 2, 3};
       },
       nullptr, Outcome::Opens, 10},
      {"data not a whole number of frames", [](WaveLayout&) {}, oddData, Outcome::Opens, 10},
      {"8-bit PCM opens (refused later)", [](WaveLayout& l) { l.bitsPerSample = 8; }, nullptr, Outcome::Opens, 20},
      {"not RIFF", [](WaveLayout& l) { l.riffId = "RIFX"; }, nullptr, Outcome::NotWaveFormat, 0},
      {"RIFF size beyond the file", [](WaveLayout& l) { l.riffSizeDelta = 1; }, nullptr, Outcome::NotWaveFormat, 0},
      {"RIFF size that wraps", [](WaveLayout& l) { l.riffSizeDelta = 0xFFFFFFF8ll - 56; }, nullptr,
       Outcome::NotWaveFormat, 0},
      {"not WAVE", [](WaveLayout& l) { l.formType = "AVI "; }, nullptr, Outcome::NotWaveFormat, 0},
      {"fmt not the first chunk", [](WaveLayout& l) { l.firstChunk = "junk"; }, nullptr, Outcome::NotWaveFormat, 0},
      {"LIST before data", [](WaveLayout& l) { l.listChunk = true; }, nullptr, Outcome::NotWaveFormat, 0},
      {"data larger than the file",
       [](WaveLayout& l) {
         l.dataSizeDelta = 2;
         l.riffSizeDelta = -2;
       },
       nullptr, Outcome::NotWaveFormat, 0},
      {"data size that lies hugely", [](WaveLayout& l) { l.dataSizeDelta = 0x7FFFFF00; }, nullptr,
       Outcome::NotWaveFormat, 0},
      {"fmt chunk of 14 bytes", [](WaveLayout& l) { l.fmtSize = 14; }, nullptr, Outcome::NotWaveFormat, 0},
      {"three channels", [](WaveLayout& l) { l.channels = 3; }, nullptr, Outcome::NotWaveFormat, 0},
      {"no channels",
       [](WaveLayout& l) {
         l.channels = 0;
         l.blockAlign = 2;
       },
       nullptr, Outcome::NotWaveFormat, 0},
      {"block align 0", [](WaveLayout& l) { l.blockAlign = 0; }, nullptr, Outcome::NotWaveFormat, 0},
      {"block align not channels x 2", [](WaveLayout& l) { l.blockAlign = 4; }, nullptr, Outcome::NotWaveFormat, 0},
      {"header cut short", [](WaveLayout&) {}, truncated, Outcome::NotWaveFormat, 0},
      {"floating point",
       [](WaveLayout& l) {
         l.formatTag = 3;
         l.bitsPerSample = 32;
       },
       nullptr, Outcome::NotPCMFile, 0},
      {"extensible", [](WaveLayout& l) { l.formatTag = 0xFFFE; }, nullptr, Outcome::NotPCMFile, 0},
  };
  testutil::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WaveLayout layout;
    c.change(layout);
    const std::string path = dir.file("case.wav");
    testutil::WriteBytes(path, c.bytes ? c.bytes(layout) : MakeWave(Pcm16(kSamples), layout));
    RWaveFile wave;
    ASSERT_EQ(TryOpen(path, wave), c.outcome);
    if (c.outcome == Outcome::Opens) {
      EXPECT_EQ(wave.frames, c.frames);
      EXPECT_EQ(wave.Position(), wave.dataStart);
    } else {
      EXPECT_FALSE(wave.IsOpen());
    }
  }
}

TEST(WaveInput, MissingAndUnreadablePaths) {
  testutil::TempDir dir;
  RWaveFile missing;
  EXPECT_EQ(TryOpen(dir.file("none.wav"), missing), Outcome::FileNotExist);
  // Found, but not a file that can be read.
  RWaveFile folder;
  EXPECT_EQ(TryOpen(dir.path(), folder), Outcome::NotWaveFormat);
}

TEST(WaveInput, StereoSectorIsSplitIntoChannels) {
  testutil::TempDir dir;
  WaveLayout layout;
  layout.channels = 2;
  layout.fmtSize = 18;
  testutil::WriteBytes(dir.file("s.wav"), MakeWave(Pcm16(kSamples), layout));
  RWaveFile wave;
  wave.Open(dir.file("s.wav").c_str(), 0);
  ChannelBuffers first(2), second(2);
  first.Read(wave, 3);
  second.Read(wave, 2); // continues where the first read stopped
  const std::int16_t expectLeft[] = {1, 3, 5}, expectRight[] = {-2, -4, -6};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(first.Channel(0)[i], expectLeft[i]);
    EXPECT_EQ(first.Channel(1)[i], expectRight[i]);
  }
  EXPECT_EQ(second.Channel(0)[0], 7);
  EXPECT_EQ(second.Channel(1)[1], -10);
}
