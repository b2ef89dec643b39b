// The wave reader accepts exactly the 16-bit PCM layouts it can split into
// channels and refuses every file whose structure or sizes are wrong, alike
// from a file and from bytes in memory; the samples it gives are those of the
// "data" chunk and nothing beyond.
#include "support/Exceptions.h"
#include "support/FileByteSource.h"
#include "support/MemoryByteSource.h"
#include "support/WindowByteSource.h"
#include "testutil/TempDir.h"
#include "testutil/WaveLayout.h"
#include "wave/RWaveFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using testutil::MakeWave;
using testutil::Pcm16Bytes;
using testutil::WaveLayout;

namespace {

enum class Outcome { Opens, FileNotExist, NotWaveFormat, NotPCMFile };

Outcome Classify(const std::function<void()>& open) {
  try {
    open();
    return Outcome::Opens;
  } catch (const RWF_FileNotExist&) {
    return Outcome::FileNotExist;
  } catch (const RWF_NotWaveFormat&) {
    return Outcome::NotWaveFormat;
  } catch (const RWF_NotPCMFile&) {
    return Outcome::NotPCMFile;
  }
}

Outcome TryOpen(const std::string& path, RWaveFile& wave) {
  return Classify([&] { wave.Open(path.c_str(), 0); });
}

Outcome TryOpen(std::unique_ptr<ByteSource> source, RWaveFile& wave) {
  return Classify([&] { wave.Open(std::move(source)); });
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
    std::vector<std::uint8_t> payload = Pcm16Bytes(kSamples);
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
    const std::vector<std::uint8_t> bytes = c.bytes ? c.bytes(layout) : MakeWave(Pcm16Bytes(kSamples), layout);
    const std::string path = dir.file("case.wav");
    testutil::WriteBytes(path, bytes);
    RWaveFile fromFile, fromMemory;
    ASSERT_EQ(TryOpen(path, fromFile), c.outcome);
    ASSERT_EQ(TryOpen(std::make_unique<MemoryByteSource>(bytes), fromMemory), c.outcome);
    EXPECT_EQ(fromMemory.Refusal(), fromFile.Refusal());
    for (const RWaveFile* wave : {&fromFile, &fromMemory}) {
      if (c.outcome == Outcome::Opens) {
        EXPECT_EQ(wave->frames, c.frames);
        EXPECT_EQ(wave->Position(), wave->dataStart);
      } else {
        EXPECT_FALSE(wave->IsOpen());
      }
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
  // A source that did not open is no wave file either.
  RWaveFile unopened;
  EXPECT_EQ(TryOpen(std::make_unique<FileByteSource>(dir.file("none.wav").c_str()), unopened), Outcome::NotWaveFormat);
  EXPECT_FALSE(unopened.IsOpen());
}

TEST(WaveInput, SamplesAreTheWholeFramesOfTheDataChunkOnly) {
  // A window onto a larger block, a stray byte after the last whole frame and
  // bytes after the form: none of them reaches the samples.
  WaveLayout layout;
  layout.channels = 2;
  layout.trailing = {0x11, 0x22, 0x33, 0x44};
  std::vector<std::uint8_t> payload = Pcm16Bytes(kSamples);
  payload.push_back(0x7F);
  const std::vector<std::uint8_t> wave = MakeWave(payload, layout);
  std::vector<std::uint8_t> block(7 + wave.size() + 5, 0xEE);
  std::copy(wave.begin(), wave.end(), block.begin() + 7);

  RWaveFile reader;
  reader.Open(std::make_unique<WindowByteSource>(std::make_unique<MemoryByteSource>(block), 7,
                                                 static_cast<std::int64_t>(wave.size())));
  EXPECT_EQ(reader.frames, 5u);
  EXPECT_EQ(reader.Size(), static_cast<std::int64_t>(wave.size()));
  std::vector<std::uint8_t> bytes(40, 0);
  EXPECT_EQ(reader.Read(bytes.data(), 6), 6u);
  EXPECT_EQ(reader.Read(bytes.data() + 6, 100), 14u);
  bytes.resize(20);
  EXPECT_EQ(bytes, Pcm16Bytes(kSamples));
  EXPECT_EQ(reader.Read(bytes.data(), 2), 0u);
  reader.Close();
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_EQ(reader.Read(bytes.data(), 2), 0u);
}
