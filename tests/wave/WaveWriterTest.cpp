// The one wave writer: its header, what the reader makes of its files, and
// how it meets outputs that fail or cannot go back.
#include "wave/WaveWriter.h"
#include "support/ByteOrder.h"
#include "support/MemoryByteSource.h"
#include "testutil/TempDir.h"
#include "wave/Pcm16WaveHeader.h"
#include "wave/RWaveFile.h"
#include "wave/WaveFileDestination.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Bytes in memory; it can go back unless told it is a stream, and fails
// every write once full.
class MemoryDestination : public WaveWriter::Destination {
public:
  bool Append(const void* data, std::size_t size) override {
    if (bytes.size() + size > capacity) return false;
    const auto* p = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + size);
    return true;
  }
  bool OverwriteStart(const void* data, std::size_t size) override {
    if (stream || size > bytes.size()) return false;
    std::memcpy(bytes.data(), data, size);
    return true;
  }
  std::string Failure() const override { return "the medium is full"; }

  std::vector<std::uint8_t> bytes;
  std::size_t capacity = SIZE_MAX;
  bool stream = false;
};

struct ReadBack {
  std::uint16_t channels = 0;
  std::uint32_t rate = 0;
  std::uint32_t frames = 0;
  std::vector<std::int16_t> samples;
};

ReadBack Read(std::unique_ptr<ByteSource> source) {
  RWaveFile wave;
  wave.Open(std::move(source));
  ReadBack back{wave.channels, wave.sampleRate, wave.frames, {}};
  std::vector<std::uint8_t> bytes(std::size_t{wave.frames} * wave.blockAlign);
  EXPECT_EQ(wave.Read(bytes.data(), static_cast<std::uint32_t>(bytes.size())), bytes.size());
  for (std::size_t i = 0; i < bytes.size(); i += 2)
    back.samples.push_back(static_cast<std::int16_t>(LoadLe16(&bytes[i])));
  return back;
}

TEST(Pcm16WaveHeader, DescribesTheSamplesThatFollow) {
  const auto header = Pcm16WaveHeader(2, 44100, 1000);
  const unsigned char* h = header.data();
  EXPECT_EQ(std::string(h, h + 4), "RIFF");
  EXPECT_EQ(LoadLe32(h + 4), 36u + 1000u);
  EXPECT_EQ(std::string(h + 8, h + 16), "WAVEfmt ");
  EXPECT_EQ(LoadLe32(h + 16), 16u);
  EXPECT_EQ(LoadLe16(h + 20), 1u); // PCM
  EXPECT_EQ(LoadLe16(h + 22), 2u);
  EXPECT_EQ(LoadLe32(h + 24), 44100u);
  EXPECT_EQ(LoadLe32(h + 28), 44100u * 4);
  EXPECT_EQ(LoadLe16(h + 32), 4u);
  EXPECT_EQ(LoadLe16(h + 34), 16u);
  EXPECT_EQ(std::string(h + 36, h + 40), "data");
  EXPECT_EQ(LoadLe32(h + 40), 1000u);
  // The largest announcement still fits the RIFF size field.
  EXPECT_EQ(LoadLe32(Pcm16WaveHeader(1, 8000, kMaxPcm16WaveDataBytes).data() + 4), 0xFFFFFFFFu);
}

TEST(WaveWriter, WhatItWritesTheReaderReadsBack) {
  struct Case {
    const char* name;
    std::uint16_t channels;
    bool announced; // the length in the first header, as for a stream
  };
  const std::vector<std::int16_t> samples = {0, 1, -1, 32767, -32768, 258, -258, 7};
  for (const Case c :
       {Case{"mono, header brought up to date", 1, false}, Case{"stereo, header brought up to date", 2, false},
        Case{"stereo, length announced first", 2, true}}) {
    SCOPED_TRACE(c.name);
    MemoryDestination out;
    out.stream = c.announced;
    WaveWriter writer(out, c.channels, 22050);
    const std::size_t frames = samples.size() / c.channels;
    ASSERT_TRUE(writer.Begin(c.announced ? frames : 0));
    ASSERT_TRUE(writer.Write(samples.data(), 4));
    ASSERT_TRUE(writer.Write(samples.data() + 4, samples.size() - 4));
    EXPECT_EQ(writer.DataBytes(), samples.size() * 2);
    EXPECT_EQ(writer.UpdateHeader(), !c.announced); // a stream cannot go back
    EXPECT_EQ(out.bytes.size(), kPcm16WaveHeaderBytes + samples.size() * 2);

    const ReadBack back = Read(std::make_unique<MemoryByteSource>(out.bytes));
    EXPECT_EQ(back.channels, c.channels);
    EXPECT_EQ(back.rate, 22050u);
    EXPECT_EQ(back.frames, frames);
    EXPECT_EQ(back.samples, samples);
  }
}

TEST(WaveWriter, RefusesWhatNoHeaderCanAnnounceAndReportsAFailingOutput) {
  MemoryDestination out;
  WaveWriter tooLong(out, 2, 44100);
  EXPECT_FALSE(tooLong.Begin(kMaxPcm16WaveDataBytes / 4 + 1));
  EXPECT_NE(tooLong.error().find("too long"), std::string::npos);
  EXPECT_TRUE(out.bytes.empty());
  EXPECT_TRUE(tooLong.Begin(kMaxPcm16WaveDataBytes / 4));

  MemoryDestination full;
  full.capacity = kPcm16WaveHeaderBytes + 4;
  WaveWriter writer(full, 1, 8000);
  ASSERT_TRUE(writer.Begin());
  const std::int16_t samples[] = {1, 2, 3};
  EXPECT_TRUE(writer.Write(samples, 2));
  EXPECT_FALSE(writer.Write(samples, 1));
  EXPECT_EQ(writer.error(), "the medium is full");
  EXPECT_EQ(writer.DataBytes(), 4u); // only what arrived counts
}

TEST(WaveFileDestination, TheFileIsCompleteAfterEveryHeaderUpdate) {
  testutil::TempDir dir;
  const std::string path = dir.file("out.wav");
  WaveFileDestination file(path);
  ASSERT_TRUE(file.IsOpen());
  WaveWriter writer(file, 1, 8000);
  ASSERT_TRUE(writer.Begin());
  std::vector<std::int16_t> written;
  for (std::int16_t round = 1; round <= 3; ++round) {
    const std::vector<std::int16_t> samples(5, round);
    ASSERT_TRUE(writer.Write(samples.data(), samples.size()));
    ASSERT_TRUE(writer.UpdateHeader());
    written.insert(written.end(), samples.begin(), samples.end());
    // Read while the writer still holds it open.
    const ReadBack back = Read(std::make_unique<MemoryByteSource>(testutil::ReadBytes(path)));
    EXPECT_EQ(back.samples, written);
    EXPECT_EQ(testutil::ReadBytes(path).size(), kPcm16WaveHeaderBytes + written.size() * 2);
  }

  WaveFileDestination nowhere(dir.file("missing/out.wav"));
  EXPECT_FALSE(nowhere.IsOpen());
  EXPECT_FALSE(nowhere.Append("x", 1));
}

} // namespace
