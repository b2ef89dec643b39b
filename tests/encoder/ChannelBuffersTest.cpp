// A sector of wave frames split into one array per channel.
#include "EncoderFixtures.h"

#include "encoder/ChannelBuffers.h"
#include "testutil/TempDir.h"
#include "wave/RWaveFile.h"

#include <gtest/gtest.h>

using namespace enc_test;

namespace {

const std::vector<std::int16_t> kSamples = {1, -2, 3, -4, 5, -6, 7, -8, 9, -10};

} // namespace

TEST(ChannelBuffers, StereoSectorIsSplitIntoChannels) {
  testutil::TempDir dir;
  WaveLayout layout;
  layout.channels = 2;
  layout.fmtSize = 18;
  testutil::WriteBytes(dir.file("s.wav"), MakeWave(Pcm16Bytes(kSamples), layout));
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
