// The sound card itself, where the build has one to reach (winmm on
// Windows; under wine an ALSA null device serves): a buffer comes back, a
// player plays a sound to its end, a mixer opens and closes.
#include "PlaybackFixture.h"
#include "playback/RMixer.h"
#include "playback/RPlayer.h"
#include "playback/RWaveOut.h"

namespace {

#ifdef _WIN32

class DeviceSmokeTest : public ::testing::Test {
protected:
  testutil::TempDir dir_;
  testutil::ScopedCurrentDirectory cwd_{dir_.path()};
  testutil::TestSoundIndex index_;
};

TEST_F(DeviceSmokeTest, ABufferComesBackFromTheDevice) {
  RWaveOut out;
  ASSERT_EQ(out.Open(testutil::Pcm16(2, 22050)), audio::WaveResult::Ok);
  out.Write(std::vector<std::int16_t>(2 * 2205), 2205);
  int released = 0;
  for (int tries = 0; tries < 10 && released == 0; ++tries)
    released += out.Reap();
  EXPECT_EQ(released, 1);
  out.Close();
}

TEST_F(DeviceSmokeTest, APlayerPlaysASoundToItsEnd) {
  index_.AddPcm(1, testutil::Pcm16(1, 22050), std::vector<std::int16_t>(4410, 100));
  RPlayer player(index_);
  EXPECT_EQ(player.Condition(), RPlayer::kIdle);
  player.Start(1, false);
  std::int32_t condition = RPlayer::kStarting;
  for (int i = 0; i < 3000 && (condition == RPlayer::kStarting || condition == RPlayer::kStreaming); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    condition = player.Condition();
  }
  EXPECT_EQ(condition, RPlayer::kIdle);
}

TEST_F(DeviceSmokeTest, AMixerOpensMixesAndCloses) {
  index_.AddPcm(1, testutil::Pcm16(2, 22050), std::vector<std::int16_t>(2 * 4410, 100));
  auto mixer = RMixer::Create(std::make_unique<testutil::SoundIndexRef>(index_));
  ASSERT_NO_THROW(mixer->Open(0));
  mixer->OpenChannel()->Start(1, false);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  mixer->Shutdown();
}

#endif

} // namespace
