// Decoding a written file must give back, bit for bit, the working signal the
// encoder ended with: every later block was fitted against those samples.
#include "EncoderFixtures.h"

#include "encoder/EncodeDriver.h"
#include "format/TkwFormat.h"
#include "testutil/TempDir.h"
#include "tkwDec32.h"

#include <gtest/gtest.h>

using namespace enc_test;

namespace {

struct LoopCase {
  int version;
  Signal signal;
  int channels;
  std::uint32_t frames;
};

// Encodes, decodes and compares sector by sector, channel by channel.
void ExpectClosedLoop(const LoopCase& c, EncoderSettings settings) {
  SCOPED_TRACE(testing::Message() << "version " << c.version << ", " << SignalName(c.signal) << ", " << c.channels
                                  << " channel(s), " << c.frames << " frames");
  testutil::TempDir dir;
  const std::string wave = dir.file("in.wav");
  WriteWave(wave, MakeSignal(c.signal, c.frames, c.channels), c.channels, 16000);
  settings.EncodeVersion = c.version;
  settings.bRemake = 1;

  std::vector<std::vector<std::int16_t>> chunks;
  RecordingCallbacks callbacks;
  EncodeDriver driver(settings, callbacks);
  driver.SetChunkObserver(
      [&](const WorkingSignal& signal) { chunks.emplace_back(signal.At(0), signal.At(0) + signal.Count()); });
  driver.EncodeOne(wave, dir.path());
  ASSERT_EQ(driver.counts().encoded, 1);

  const Decoded decoded = DecodeFile(dir.file("in.tkw"));
  ASSERT_EQ(decoded.status, TKW_END_OF_SOUND);
  ASSERT_EQ(decoded.length, c.frames);
  ASSERT_EQ(decoded.channels, c.channels);
  EXPECT_EQ(decoded.sampleRate, 16000u);
  const std::uint32_t sectors = tkw::SectorCount(c.frames);
  ASSERT_EQ(chunks.size(), static_cast<std::size_t>(sectors) * c.channels);
  std::size_t mismatches = 0;
  for (std::uint32_t s = 0; s < sectors; ++s) {
    for (int ch = 0; ch < c.channels; ++ch) {
      const std::vector<std::int16_t>& working = chunks[s * c.channels + ch];
      for (std::size_t i = 0; i < working.size(); ++i) {
        const std::size_t frame = static_cast<std::size_t>(s) * tkw::kSectorLength + i;
        if (decoded.frames[frame * c.channels + ch] != working[i] && ++mismatches <= 5)
          ADD_FAILURE() << "sector " << s << " channel " << ch << " frame " << i << ": decoded "
                        << decoded.frames[frame * c.channels + ch] << ", encoder had " << working[i];
      }
    }
  }
  EXPECT_EQ(mismatches, 0u);
}

} // namespace

TEST(ClosedLoop, DecoderReproducesTheWorkingSignal) {
  EncoderSettings settings;
  settings.DestBits = 10;
  const LoopCase cases[] = {
      {1, Signal::Silence, 1, 2000}, {1, Signal::Noise, 1, 1500},   {1, Signal::Sweep, 2, 2500},
      {1, Signal::Speech, 1, 3000},  {1, Signal::Loud, 2, 1500},    {2, Signal::Silence, 2, 2000},
      {2, Signal::Noise, 1, 1500},   {2, Signal::Sweep, 1, 2500},   {2, Signal::Speech, 2, 3000},
      {2, Signal::Loud, 1, 1500},    {3, Signal::Silence, 1, 2000}, {3, Signal::Noise, 2, 1500},
      {3, Signal::Sweep, 1, 2500},   {3, Signal::Speech, 1, 3000},  {3, Signal::Loud, 2, 1500},
  };
  for (const LoopCase& c : cases)
    ExpectClosedLoop(c, settings);
}

// Two sectors, the second one frame long, with sound on both sides of the
// sector boundary.
TEST(ClosedLoop, SectorsUpToALastSectorOfOneFrame) {
  EncoderSettings settings;
  settings.DestBits = 10;
  for (int version = 1; version <= 3; ++version)
    ExpectClosedLoop({version, Signal::BurstAtEnd, 2, 131073}, settings);
}

// The settings that change the bit stream: smallest blocks off, wider
// distances, a tight tolerance, and narrow version 1 codes.
TEST(ClosedLoop, OtherSettings) {
  struct Variant {
    int destBits, minBits, maxError2, contrastBits, brightnessBits, maxContrast, maxBrightness;
  };
  const Variant variants[] = {
      {13, 0, 100, 8, 9, 3, 15000},
      {11, 1, 3, 5, 7, 1, 1},
      {12, 1, 400, 16, 16, 65535, 65535},
  };
  for (const Variant& v : variants) {
    EncoderSettings s;
    s.DestBits = v.destBits;
    s.bEncodeMinBits = v.minBits;
    s.MaxError2 = v.maxError2;
    s.ContrastBits = v.contrastBits;
    s.BrightnessBits = v.brightnessBits;
    s.MaxContrast = v.maxContrast;
    s.MaxBrightness = v.maxBrightness;
    for (int version = 1; version <= 3; ++version)
      ExpectClosedLoop({version, Signal::Speech, 1, 1200}, s);
  }
}
