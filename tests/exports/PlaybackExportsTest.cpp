// The player, mixer and channel exports over a real sound index: argument
// checks, statuses, out handles, what reaches the device, and closing with
// and without the index.
#include "playback/PlaybackFixture.h"
#include "tkwDec32.h"

#include <cstdio>
#include <type_traits>

namespace {

// Host code written against the struct's old name still compiles and passes
// the same record.
static_assert(std::is_same_v<PlayPosition, TkrPlayPosition>);

constexpr std::uint32_t kRate = 8000;

class PlaybackExportsTest : public testutil::PlaybackTest {
protected:
  PlaybackExportsTest() { EXPECT_EQ(tkrDecodeOpenNaked(&archive_), TKW_OK); }
  ~PlaybackExportsTest() override {
    if (archive_) tkrDecodeClose(archive_);
  }

  testutil::TkwTestSound AddNumbered(std::uint32_t number, std::uint8_t channels, std::uint32_t length) {
    const auto sound = AddTkw(number, channels, length, kRate);
    EXPECT_EQ(tkrDecodeAddTkw(archive_, dir_.file(std::to_string(number) + ".tkw").c_str(), number), TKW_OK);
    return sound;
  }

  TkrDecodeHandle* archive_ = nullptr;
};

TEST_F(PlaybackExportsTest, NullArgumentsAreRefusedWithoutSideEffects) {
  TkrPlayHandle* player = nullptr;
  TkrMixHandle* mixer = nullptr;
  TkrChannelHandle* channel = reinterpret_cast<TkrChannelHandle*>(&mixer);
  TkrDecodeHandle* index = nullptr;
  TkrEventHandle event = &index;
  std::int32_t value = 0;
  PlayPosition position{};

  EXPECT_EQ(tkrPlayOpen(nullptr, archive_), TKW_ERR_NULL_ARGUMENT);
  player = reinterpret_cast<TkrPlayHandle*>(&index);
  EXPECT_EQ(tkrPlayOpen(&player, nullptr), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(player, nullptr);
  EXPECT_EQ(tkrPlayStart(nullptr, 1, &event), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(event, nullptr);
  const std::int32_t playerStatuses[] = {tkrPlayGetTkr(nullptr, &index),
                                         tkrPlayGetCondition(nullptr, &value),
                                         tkrPlayGetPosition(nullptr, &position),
                                         tkrPlayLoop(nullptr, 1),
                                         tkrPlayChain(nullptr, 1),
                                         tkrPlayReset(nullptr),
                                         tkrPlayLoad(nullptr, 1, 0),
                                         tkrPlayRelease(nullptr, 1),
                                         tkrPlayClose(nullptr),
                                         tkrPlayClose2(nullptr)};
  for (std::int32_t status : playerStatuses)
    EXPECT_EQ(status, TKW_ERR_NULL_ARGUMENT);

  mixer = reinterpret_cast<TkrMixHandle*>(&index);
  EXPECT_EQ(tkrMixOpen(&mixer, nullptr, 0), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(mixer, reinterpret_cast<TkrMixHandle*>(&index)); // left untouched
  EXPECT_EQ(tkrMixOpen(nullptr, archive_, 0), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkrMixChannelOpen(nullptr, &channel), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(channel, nullptr);
  const std::int32_t mixerStatuses[] = {tkrMixGetTkr(nullptr, &index),
                                        tkrMixReset(nullptr),
                                        tkrMixLoad(nullptr, 1, 0),
                                        tkrMixRelease(nullptr, 1),
                                        tkrMixSetWait(nullptr, 1),
                                        tkrMixAssure(nullptr, 1),
                                        tkrMixSetBlock(nullptr, 1, 2),
                                        tkrMixClose(nullptr),
                                        tkrMixClose2(nullptr),
                                        tkrChannelGetCondition(nullptr, &value),
                                        tkrChannelGetPosition(nullptr, &position),
                                        tkrChannelStart(nullptr, 1, nullptr),
                                        tkrChannelLoop(nullptr, 1),
                                        tkrChannelChain(nullptr, 1),
                                        tkrChannelReset(nullptr),
                                        tkrChannelSetVolume(nullptr, 1),
                                        tkrChannelClose(nullptr)};
  for (std::int32_t status : mixerStatuses)
    EXPECT_EQ(status, TKW_ERR_NULL_ARGUMENT);
}

TEST_F(PlaybackExportsTest, APlayerPlaysNumberedSoundsAndReportsItsState) {
  const auto sound = AddNumbered(7, 2, 9000);
  TkrPlayHandle* player = nullptr;
  ASSERT_EQ(tkrPlayOpen(&player, archive_), TKW_OK);
  TkrDecodeHandle* index = nullptr;
  EXPECT_EQ(tkrPlayGetTkr(player, &index), TKW_OK);
  EXPECT_EQ(index, archive_);
  std::int32_t condition = -1;
  EXPECT_EQ(tkrPlayGetCondition(player, &condition), TKW_OK);
  EXPECT_EQ(condition, TKR_PLAY_IDLE);

  TkrEventHandle event = &index;
  EXPECT_EQ(tkrPlayStart(player, 8, &event), TKR_ERR_NO_SOUND);
  EXPECT_EQ(event, nullptr);
  EXPECT_EQ(tkrPlayRelease(player, 7), TKR_ERR_NO_SOUND);
  EXPECT_EQ(tkrPlayLoad(player, 8, 0), TKR_ERR_NO_SOUND);
  device_.setOpenResult(audio::WaveResult::Allocated);
  EXPECT_EQ(tkrPlayStart(player, 7, &event), TKW_ERR_DEVICE_BUSY);
  EXPECT_EQ(tkrPlayGetCondition(player, &condition), TKW_OK);
  EXPECT_EQ(condition, TKR_PLAY_NO_DEVICE);
  device_.setOpenResult(audio::WaveResult::Ok);
  device_.setQueryResult(audio::WaveResult::BadFormat);
  EXPECT_EQ(tkrPlayStart(player, 7, &event), TKW_ERR_DEVICE_FORMAT);
  device_.setQueryResult(audio::WaveResult::Ok);

  EXPECT_EQ(tkrPlayStart(player, 7, &event), TKW_OK);
  EXPECT_NE(event, nullptr);
  ASSERT_TRUE(device_.waitForQueued(1));
  PlayPosition position{-1, 0, 0};
  EXPECT_EQ(tkrPlayGetPosition(player, &position), TKW_OK);
  EXPECT_EQ(position.position, 0);
  EXPECT_EQ(position.lengthMs, 1125u);
  {
    testutil::DeviceClock clock(device_, 1000);
    ASSERT_TRUE(device_.waitForClosedSessions(1));
  }
  EXPECT_TRUE(device_.sessions()[0].played == sound.pcm);
  EXPECT_EQ(tkrPlayStart(player, 7, nullptr), TKW_OK); // no event wanted
  EXPECT_EQ(tkrPlayClose(player), TKW_OK);
  archive_ = nullptr; // closed with the player
}

TEST_F(PlaybackExportsTest, ANumberWhoseFileHasGoneIsMissing) {
  AddNumbered(3, 1, 100);
  ASSERT_EQ(std::remove(dir_.file("3.tkw").c_str()), 0);
  TkrPlayHandle* player = nullptr;
  ASSERT_EQ(tkrPlayOpen(&player, archive_), TKW_OK);
  EXPECT_EQ(tkrPlayStart(player, 3, nullptr), TKR_ERR_NO_SOUND);
  EXPECT_EQ(tkrPlayLoad(player, 3, 0), TKR_ERR_NO_SOUND);
  EXPECT_EQ(tkrPlayClose2(player), TKW_OK);

  TkrMixHandle* mixer = nullptr;
  ASSERT_EQ(tkrMixOpen(&mixer, archive_, kRate), TKW_OK);
  TkrChannelHandle* channel = nullptr;
  ASSERT_EQ(tkrMixChannelOpen(mixer, &channel), TKW_OK);
  TkrEventHandle event = &mixer;
  EXPECT_EQ(tkrChannelStart(channel, 3, &event), TKR_ERR_NO_SOUND);
  EXPECT_EQ(event, nullptr);
  EXPECT_EQ(tkrMixLoad(mixer, 3, 0), TKR_ERR_NO_SOUND);
  EXPECT_EQ(tkrMixClose2(mixer), TKW_OK);
}

TEST_F(PlaybackExportsTest, AMixerPlaysChannelsAndLeavesTheIndexToTheSecondClose) {
  const auto sound = AddNumbered(5, 1, 2000);
  AddTkw(6, 1, 100, 22050);
  ASSERT_EQ(tkrDecodeAddTkw(archive_, dir_.file("6.tkw").c_str(), 6), TKW_OK);

  device_.setOpenResult(audio::WaveResult::Allocated);
  TkrMixHandle* mixer = reinterpret_cast<TkrMixHandle*>(&device_);
  EXPECT_EQ(tkrMixOpen(&mixer, archive_, kRate), TKW_ERR_DEVICE_BUSY);
  EXPECT_EQ(mixer, nullptr);
  device_.setOpenResult(audio::WaveResult::Ok);
  EXPECT_EQ(tkrMixOpen(&mixer, archive_, 0x2000000), TKW_ERR_DEVICE_FORMAT);
  EXPECT_EQ(mixer, nullptr);

  ASSERT_EQ(tkrMixOpen(&mixer, archive_, TKR_MIX_MONO | kRate), TKW_OK);
  TkrDecodeHandle* index = nullptr;
  EXPECT_EQ(tkrMixGetTkr(mixer, &index), TKW_OK);
  EXPECT_EQ(index, archive_);
  EXPECT_EQ(tkrMixSetWait(mixer, 5), TKW_OK);
  EXPECT_EQ(tkrMixAssure(mixer, 5), TKW_OK);
  EXPECT_EQ(tkrMixSetBlock(mixer, 1, 2), TKW_OK);
  TkrChannelHandle* channel = nullptr;
  ASSERT_EQ(tkrMixChannelOpen(mixer, &channel), TKW_OK);
  EXPECT_EQ(tkrChannelStart(channel, 6, nullptr), TKW_ERR_DEVICE_FORMAT);
  ASSERT_TRUE(device_.waitForQueued(3));
  TkrEventHandle event = nullptr;
  EXPECT_EQ(tkrChannelSetVolume(channel, 512), TKW_OK);
  EXPECT_EQ(tkrChannelStart(channel, 5, &event), TKW_OK);
  EXPECT_NE(event, nullptr);
  std::int32_t condition = -1;
  EXPECT_EQ(tkrChannelGetCondition(channel, &condition), TKW_OK);
  EXPECT_EQ(condition, TKR_CHANNEL_QUEUED);
  PlayPosition position{-1, 9, 9};
  EXPECT_EQ(tkrChannelGetPosition(channel, &position), TKW_OK);
  EXPECT_EQ(position.position, 0);
  EXPECT_EQ(position.lengthMs + position.elapsedMs, 0u);
  for (int i = 0; i < 8; ++i) {
    ASSERT_TRUE(device_.waitForQueued(3));
    device_.play(512);
  }
  const auto played = device_.sessions().at(0).played;
  const std::size_t start = 3 * 512; // the blocks queued before the start were silent
  for (std::size_t i = 0; i < sound.pcm.size(); ++i) {
    const int doubled = std::clamp(2 * sound.pcm[i], -32768, 32767);
    ASSERT_EQ(played.at(start + i), doubled) << i;
  }
  EXPECT_EQ(tkrChannelClose(channel), TKW_OK);
  EXPECT_EQ(tkrMixClose2(mixer), TKW_OK);

  // The index serves a player after the mixer has gone.
  TkrPlayHandle* player = nullptr;
  ASSERT_EQ(tkrPlayOpen(&player, archive_), TKW_OK);
  EXPECT_EQ(tkrPlayLoad(player, 5, 0), TKW_OK);
  EXPECT_EQ(tkrPlayLoad(player, 5, 0), TKR_ERR_NO_SOUND);
  EXPECT_EQ(tkrPlayRelease(player, 5), TKW_OK);
  EXPECT_EQ(tkrPlayClose2(player), TKW_OK);
}

TEST_F(PlaybackExportsTest, ClosingAMixerWithChannelsPlayingClosesItsIndex) {
  AddNumbered(5, 2, 40000);
  TkrMixHandle* mixer = nullptr;
  ASSERT_EQ(tkrMixOpen(&mixer, archive_, kRate), TKW_OK);
  for (int i = 0; i < 3; ++i) {
    TkrChannelHandle* channel = nullptr;
    ASSERT_EQ(tkrMixChannelOpen(mixer, &channel), TKW_OK);
    EXPECT_EQ(i == 0 ? tkrChannelLoop(channel, 5) : tkrChannelStart(channel, 5, nullptr), TKW_OK);
  }
  EXPECT_EQ(tkrMixLoad(mixer, 5, 0), TKW_OK);
  ASSERT_TRUE(device_.waitForQueued(3));
  device_.play(1000);
  EXPECT_TRUE(ReturnsWithin([&] { EXPECT_EQ(tkrMixClose(mixer), TKW_OK); }));
  archive_ = nullptr;
  EXPECT_EQ(device_.openDevices(), 0u);
}

} // namespace
