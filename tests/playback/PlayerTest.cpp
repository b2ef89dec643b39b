// The player on the virtual device: what reaches the device, buffer by
// buffer and sample by sample, for streamed and cached sounds; chains, cuts,
// loops; the checks before a request; a device that fails to open; closing
// while playing.
#include "PlaybackFixture.h"
#include "playback/RPlayer.h"
#include "support/Exceptions.h"

namespace {

using testutil::DeviceClock;

constexpr std::uint32_t kRate = 8000;
constexpr std::uint32_t kBufferFrames = 2 * kRate;

class PlayerTest : public testutil::PlaybackTest {
protected:
  bool WaitFor(RPlayer& player, std::int32_t condition) {
    for (int i = 0; i < 20000; ++i) {
      if (player.Condition() == condition) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

  bool WaitIdle(RPlayer& player) {
    for (int i = 0; i < 20000; ++i) {
      if (player.Condition() != RPlayer::kStarting && player.Condition() != RPlayer::kStreaming) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }
};

struct BufferCase {
  std::uint8_t channels;
  std::uint32_t length;
  std::vector<std::uint32_t> bufferFrames;
};

class PlayerBuffers : public PlayerTest, public ::testing::WithParamInterface<std::tuple<BufferCase, bool>> {};

TEST_P(PlayerBuffers, TwoSecondBuffersAndAShortLastOneCarryTheWholeSound) {
  const auto& [c, cached] = GetParam();
  const auto sound = AddTkw(5, c.channels, c.length);
  RPlayer player(index_);
  if (cached) player.Load(5, 0);
  DeviceClock clock(device_, 1000);
  player.Start(5, false);
  ASSERT_TRUE(device_.waitForClosedSessions(1));
  ASSERT_TRUE(WaitIdle(player));

  const auto sessions = device_.sessions();
  ASSERT_EQ(sessions.size(), 1u);
  std::vector<std::uint32_t> bytes;
  for (std::uint32_t frames : c.bufferFrames)
    bytes.push_back(frames * c.channels * 2);
  EXPECT_EQ(sessions[0].writtenBytes, bytes);
  EXPECT_EQ(sessions[0].format.channels, c.channels);
  EXPECT_EQ(sessions[0].format.samplesPerSec, kRate);
  EXPECT_TRUE(sessions[0].played == sound.pcm);
}

INSTANTIATE_TEST_SUITE_P(
    Sounds, PlayerBuffers,
    ::testing::Combine(::testing::Values(BufferCase{1, 20000, {kBufferFrames, 4000}},
                                         BufferCase{2, 40000, {kBufferFrames, kBufferFrames, 8000}},
                                         BufferCase{1, kBufferFrames, {kBufferFrames}}, BufferCase{2, 100, {100}}),
                       ::testing::Bool()));

TEST_F(PlayerTest, ChainedSoundsFollowInOrderEachOnItsOwnOpening) {
  const auto a = AddTkw(1, 1, 3000);
  const auto b = AddTkw(2, 2, 17000);
  const auto c = AddTkw(3, 1, 500);
  RPlayer player(index_);
  player.Load(3, 0);
  player.Start(1, false);
  player.Chain(2);
  player.Chain(3);
  DeviceClock clock(device_, 700);
  ASSERT_TRUE(device_.waitForClosedSessions(3));
  const auto sessions = device_.sessions();
  ASSERT_EQ(sessions.size(), 3u);
  EXPECT_TRUE(sessions[0].played == a.pcm);
  EXPECT_TRUE(sessions[1].played == b.pcm);
  EXPECT_TRUE(sessions[2].played == c.pcm);
}

TEST_F(PlayerTest, ChainOnAnIdlePlayerStartsAtOnce) {
  const auto a = AddTkw(1, 1, 300);
  RPlayer player(index_);
  DeviceClock clock(device_, 700);
  player.Chain(1);
  ASSERT_TRUE(device_.waitForClosedSessions(1));
  EXPECT_TRUE(device_.sessions()[0].played == a.pcm);
}

TEST_F(PlayerTest, StartCutsOffThePlayingSoundAndDiscardsTheWaitingOnes) {
  AddTkw(1, 1, 5 * kBufferFrames);
  AddTkw(2, 1, 300);
  const auto b = AddTkw(3, 2, 900);
  RPlayer player(index_);
  player.Start(1, false);
  player.Chain(2);
  ASSERT_TRUE(device_.waitForQueued(2));
  device_.play(100);
  EXPECT_TRUE(WaitFor(player, RPlayer::kStreaming));
  player.Start(3, false);
  // The cut needs no more of the device's time: the reset hands everything back.
  ASSERT_TRUE(device_.waitFor([](const auto& s) { return !s.empty() && !s[0].open; }));
  DeviceClock clock(device_, 700);
  ASSERT_TRUE(device_.waitForClosedSessions(2));
  const auto sessions = device_.sessions();
  ASSERT_EQ(sessions.size(), 2u); // sound 2 never played
  EXPECT_EQ(sessions[0].played.size(), 100u);
  EXPECT_GE(sessions[0].resets, 1);
  EXPECT_TRUE(sessions[1].played == b.pcm);
}

class PlayerLoop : public PlayerTest, public ::testing::WithParamInterface<bool> {};

TEST_P(PlayerLoop, ALoopedSoundFillsEveryBufferUntilStopped) {
  const bool cached = GetParam();
  const auto a = AddTkw(4, 2, 3001);
  RPlayer player(index_);
  if (cached) player.Load(4, 0);
  player.Start(4, true);
  ASSERT_TRUE(device_.waitForQueued(2));
  for (int i = 0; i < 3; ++i) {
    device_.play(kBufferFrames);
    ASSERT_TRUE(device_.waitForQueued(2));
  }
  player.StopPlayback();
  ASSERT_TRUE(device_.waitForClosedSessions(1));
  const auto session = device_.sessions()[0];
  EXPECT_EQ(session.writtenBytes.size(), 5u);
  for (std::uint32_t bytes : session.writtenBytes)
    EXPECT_EQ(bytes, kBufferFrames * 4);
  EXPECT_TRUE(session.played == Repeat(a.pcm, 3 * kBufferFrames * 2));
  EXPECT_TRUE(WaitIdle(player));
}

INSTANTIATE_TEST_SUITE_P(StreamedAndCached, PlayerLoop, ::testing::Bool());

TEST_F(PlayerTest, RequestsAreCheckedBeforeAnythingStops) {
  AddTkw(1, 1, 5 * kBufferFrames);
  index_.AddPcm(2, testutil::Pcm16(2, 8000), std::vector<std::int16_t>(64));
  RPlayer player(index_);
  EXPECT_EQ(player.Condition(), RPlayer::kIdle);
  EXPECT_THROW(player.Start(99, false), PC_BadIndex);
  EXPECT_THROW(player.Chain(99), PC_BadIndex);

  device_.setOpenResult(audio::WaveResult::Allocated);
  EXPECT_EQ(player.Condition(), RPlayer::kNoDevice);
  EXPECT_THROW(player.Start(1, false), PC_WaveDeviceAllocated);
  device_.setOpenResult(audio::WaveResult::Ok);

  player.Start(1, false);
  ASSERT_TRUE(device_.waitForQueued(2));
  device_.setQueryResult(audio::WaveResult::BadFormat);
  EXPECT_THROW(player.Start(2, false), PC_DeviceNotSupport);
  // A busy device is only a reason to refuse while idle.
  device_.setQueryResult(audio::WaveResult::Ok);
  device_.setOpenResult(audio::WaveResult::Allocated);
  EXPECT_THROW(player.Start(99, false), PC_BadIndex);
  EXPECT_NO_THROW(player.Chain(2));
  device_.setOpenResult(audio::WaveResult::Ok);
  EXPECT_EQ(device_.sessions().size(), 1u);
  EXPECT_TRUE(device_.sessions()[0].open);
  EXPECT_EQ(device_.sessions()[0].resets, 0);
}

TEST_F(PlayerTest, ASoundWhoseDeviceDoesNotOpenIsSkipped) {
  AddTkw(1, 1, 3000);
  const auto b = AddTkw(2, 1, 200);
  RPlayer player(index_);
  device_.setOpenResult(audio::WaveResult::NoDriver);
  player.Start(1, false);
  ASSERT_TRUE(WaitIdle(player));
  EXPECT_EQ(player.Condition(), RPlayer::kNoDevice);
  device_.setOpenResult(audio::WaveResult::Ok);
  DeviceClock clock(device_, 700);
  player.Start(2, false);
  ASSERT_TRUE(device_.waitForClosedSessions(1));
  ASSERT_EQ(device_.sessions().size(), 1u);
  EXPECT_TRUE(device_.sessions()[0].played == b.pcm);
}

TEST_F(PlayerTest, PositionGivesTheTrueLengthOfLongSounds) {
  // 5,000,000 frames: the length in milliseconds overflows 32-bit arithmetic
  // if it is multiplied first.
  index_.AddPcm(1, testutil::Pcm16(1, 44100), std::vector<std::int16_t>(5000000));
  RPlayer player(index_);
  player.Start(1, false);
  ASSERT_TRUE(device_.waitForQueued(2));
  const RPlayer::Position position = player.GetPosition();
  EXPECT_EQ(position.lengthMs, 113378u);
  EXPECT_LT(position.elapsedMs, 60000u);
}

TEST_F(PlayerTest, CachedSoundsPlayWithoutTheIndexAndOutliveTheirRelease) {
  const auto a = AddTkw(1, 2, 20000);
  RPlayer player(index_);
  player.Load(1, 0);
  EXPECT_THROW(player.Load(1, 0), PC_BadIndex);
  const int opens = index_.Opens();
  player.Start(1, false);
  EXPECT_EQ(index_.Opens(), opens);
  ASSERT_TRUE(device_.waitForQueued(2));
  player.Release(1);
  EXPECT_THROW(player.Release(1), PC_BadIndex);
  DeviceClock clock(device_, 1000);
  ASSERT_TRUE(device_.waitForClosedSessions(1));
  EXPECT_TRUE(device_.sessions()[0].played == a.pcm);
}

TEST_F(PlayerTest, ClosingWhilePlayingStopsTheSoundAndReturns) {
  AddTkw(1, 2, 5 * kBufferFrames);
  auto player = std::make_unique<RPlayer>(index_);
  player->Start(1, true);
  player->Chain(1);
  ASSERT_TRUE(device_.waitForQueued(2));
  EXPECT_TRUE(ReturnsWithin([&] { player.reset(); }));
  EXPECT_EQ(device_.openDevices(), 0u);
}

} // namespace
