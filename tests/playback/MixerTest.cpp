// The mixer and its channels on the virtual device: block size and queue
// depth from the format word and the settings, the volume arithmetic, channel
// conversion, chains and conditions, resets, channels closed while mixing,
// device refusals, closing while playing.
#include "PlaybackFixture.h"
#include "playback/LibrarySettings.h"
#include "playback/RMixer.h"
#include "support/Exceptions.h"

#include <algorithm>

namespace {

using testutil::MakePcm;
using testutil::Pcm16;

constexpr std::uint32_t kRate = 8000;
constexpr std::uint32_t kMono = RMixer::kMonoFlag;
constexpr std::uint32_t kBlock = 512; // frames at 8000 per second and 64 ms

class MixerTest : public testutil::PlaybackTest {
protected:
  ~MixerTest() override {
    if (mixer_) mixer_->Shutdown();
  }

  RMixer& Open(std::uint32_t formatWord) {
    mixer_ = RMixer::Create(std::make_unique<testutil::SoundIndexRef>(index_));
    mixer_->Open(formatWord);
    // Requests start from a settled mixer: the first blocks are queued and
    // the mix thread waits for the device.
    EXPECT_TRUE(device_.waitForQueued(settings::BlockCount()));
    return *mixer_;
  }

  // Plays count blocks, each once the mix thread has refilled the queue.
  std::vector<std::int16_t> PlayBlocks(int count, std::size_t queued = 3) {
    for (int i = 0; i < count; ++i) {
      EXPECT_TRUE(device_.waitForQueued(queued));
      device_.play(mixer_->FramesPerBlock());
    }
    EXPECT_TRUE(device_.waitForQueued(queued));
    return device_.sessions().at(0).played;
  }

  // What was played from the block in which sound first appears.
  std::vector<std::int16_t> FromFirstSound(const std::vector<std::int16_t>& played, std::size_t samples) {
    const auto first = std::find_if(played.begin(), played.end(), [](std::int16_t s) { return s != 0; });
    const std::size_t blockSamples = mixer_->FramesPerBlock() * mixer_->OutFormat().channels;
    const std::size_t start = static_cast<std::size_t>(first - played.begin()) / blockSamples * blockSamples;
    std::vector<std::int16_t> tail(played.begin() + static_cast<std::ptrdiff_t>(std::min(start, played.size())),
                                   played.end());
    tail.resize(samples, 0x7777); // short output shows as a mismatch
    return tail;
  }

  void AddConstant(std::uint32_t number, std::uint16_t channels, std::uint32_t frames, std::int16_t value) {
    index_.AddPcm(number, Pcm16(channels, kRate), std::vector<std::int16_t>(std::size_t{frames} * channels, value));
  }

  std::shared_ptr<RMixer> mixer_;
};

struct FormatCase {
  std::uint32_t word;
  std::uint16_t channels;
  std::uint32_t rate;
  std::uint32_t framesPerBlock;
};

class MixerFormat : public MixerTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(MixerFormat, TheFormatWordGivesTheOutputAndTheBlockSize) {
  const FormatCase c = GetParam();
  RMixer& mixer = Open(c.word);
  EXPECT_EQ(mixer.FramesPerBlock(), c.framesPerBlock);
  ASSERT_TRUE(device_.waitForQueued(3));
  const auto session = device_.sessions().at(0);
  EXPECT_EQ(session.format.channels, c.channels);
  EXPECT_EQ(session.format.samplesPerSec, c.rate);
  EXPECT_EQ(session.writtenBytes.at(0), c.framesPerBlock * c.channels * 2);
  // Without channels the mixer plays silence without a pause.
  const auto played = PlayBlocks(4);
  EXPECT_EQ(played.size(), std::size_t{4} * c.framesPerBlock * c.channels);
  EXPECT_TRUE(std::all_of(played.begin(), played.end(), [](std::int16_t s) { return s == 0; }));
}

INSTANTIATE_TEST_SUITE_P(Words, MixerFormat,
                         ::testing::Values(FormatCase{0, 2, 22050, 1411}, FormatCase{kMono, 1, 22050, 1411},
                                           FormatCase{44100, 2, 44100, 2822},
                                           FormatCase{kMono | kRate, 1, kRate, kBlock}));

struct SettingsCase {
  const char* ini;
  std::uint32_t framesPerBlock;
  std::size_t queued;
};

class MixerSettings : public MixerTest, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(MixerSettings, BlockLengthAndQueueDepthComeFromTheSettingsFile) {
  testutil::WriteText(dir_.file("TkwDec32.ini"), GetParam().ini);
  RMixer& mixer = Open(kRate);
  EXPECT_EQ(mixer.FramesPerBlock(), GetParam().framesPerBlock);
  ASSERT_TRUE(device_.waitForQueued(GetParam().queued));
  EXPECT_EQ(device_.queuedBuffers(), GetParam().queued);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MixerSettings,
    ::testing::Values(SettingsCase{"[Tkw_MixObject]\nWaveBlockSizeMS=32\nWaveBlockCnt=5\n", 256, 5},
                      // Values that would leave nothing to play fall back to the defaults.
                      SettingsCase{"[Tkw_MixObject]\nWaveBlockSizeMS=0\nWaveBlockCnt=-2\n", kBlock, 3},
                      SettingsCase{"[Other]\nWaveBlockCnt=9\n", kBlock, 3}));

struct VolumeCase {
  std::vector<std::pair<std::int32_t, std::int16_t>> channels; // volume, sample
  std::int16_t mixed;
};

TEST(MixArithmetic, EachChannelIsScaledShiftedSummedAndClipped) {
  const VolumeCase cases[] = {
      {{{256, 1000}}, 1000},
      {{{128, 1000}}, 500},
      {{{128, -3}}, -2}, // the shift rounds toward minus infinity
      {{{-256, 1000}}, -1000},
      {{{512, 1000}}, 2000},
      {{{512, 20000}}, 32767},
      {{{512, -20000}}, -32768},
      {{{256, 32767}, {256, 32767}}, 32767},
      {{{256, -32768}, {256, -32768}}, -32768},
      {{{129, 1}, {129, 1}}, 0}, // shifted per channel before summing
      {{{256, 20000}, {-256, 20000}}, 0},
      {{{100000, 32767}}, 32767}, // far past the 32-bit product
      {{{0, 32767}}, 0},
  };
  for (const VolumeCase& c : cases) {
    std::vector<std::int64_t> sums(1, 0);
    for (const auto& [volume, sample] : c.channels)
      MixInto(sums, std::vector<std::int16_t>{sample}, volume);
    EXPECT_EQ(ClipSample(sums[0]), c.mixed) << c.channels.size() << " channels, volume " << c.channels[0].first;
  }
}

TEST_F(MixerTest, VolumesApplyToWholeChannelsAndFullScaleChannelsClip) {
  AddConstant(1, 1, 4000, 32767);
  AddConstant(2, 1, 4000, 30000);
  RMixer& mixer = Open(kMono | kRate);
  RMixChannel* a = mixer.OpenChannel();
  RMixChannel* b = mixer.OpenChannel();
  a->Start(1, false);
  b->Start(2, false);
  auto played = FromFirstSound(PlayBlocks(4), kBlock);
  EXPECT_TRUE(std::all_of(played.begin(), played.end(), [](std::int16_t s) { return s == 32767; }));

  a->SetVolume(128);
  b->SetVolume(-128);
  const std::size_t before = device_.sessions().at(0).played.size();
  played = PlayBlocks(4);
  // Three blocks were mixed before the change; the fourth has it.
  const std::vector<std::int16_t> changed(played.begin() + before + 3 * kBlock, played.begin() + before + 4 * kBlock);
  const std::int16_t expected = static_cast<std::int16_t>((128 * 32767 >> 8) + (-128 * 30000 >> 8));
  EXPECT_TRUE(std::all_of(changed.begin(), changed.end(), [&](std::int16_t s) { return s == expected; }))
      << changed.front() << " vs " << expected;
}

struct ConversionCase {
  std::uint32_t word;
  std::uint16_t soundChannels;
  std::vector<std::int16_t> frame;    // one frame of the sound
  std::vector<std::int16_t> expected; // the frame on the mixer
};

class MixerConversion : public MixerTest, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(MixerConversion, SoundsAreConvertedToTheOutputChannels) {
  const ConversionCase c = GetParam();
  index_.AddPcm(1, Pcm16(c.soundChannels, kRate),
                MakePcm(kBlock, c.soundChannels, [&](std::uint32_t, int channel) { return c.frame[channel]; }));
  RMixer& mixer = Open(c.word);
  mixer.OpenChannel()->Start(1, false);
  const std::size_t outChannels = mixer.OutFormat().channels;
  const auto played = FromFirstSound(PlayBlocks(4), kBlock * outChannels);
  EXPECT_EQ(std::vector<std::int16_t>(played.begin(), played.begin() + static_cast<std::ptrdiff_t>(outChannels)),
            c.expected);
  EXPECT_EQ(std::vector<std::int16_t>(played.end() - static_cast<std::ptrdiff_t>(outChannels), played.end()),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(Layouts, MixerConversion,
                         ::testing::Values(ConversionCase{kRate, 1, {1234}, {1234, 1234}},
                                           ConversionCase{kMono | kRate, 2, {1000, 3001}, {2000}},
                                           ConversionCase{kMono | kRate, 2, {-3, 0}, {-2}},
                                           ConversionCase{kMono | kRate, 2, {32767, 32767}, {32767}},
                                           ConversionCase{kRate, 2, {5, -7}, {5, -7}}));

TEST_F(MixerTest, ChainedSoundsFollowEachOtherAtBlockBoundaries) {
  const auto gen = [](std::int16_t base) {
    return [base](std::uint32_t f, int) { return static_cast<std::int16_t>(base + f % 100); };
  };
  index_.AddPcm(1, Pcm16(1, kRate), MakePcm(700, 1, gen(1000)));
  index_.AddPcm(2, Pcm16(2, kRate), MakePcm(kBlock, 2, gen(3000))); // stereo on a mono mixer
  index_.AddPcm(3, Pcm16(1, kRate), MakePcm(100, 1, gen(5000)));
  RMixer& mixer = Open(kMono | kRate);
  RMixChannel* channel = mixer.OpenChannel();
  channel->Chain(1); // nothing queued: a chain queues nothing
  EXPECT_EQ(channel->Condition(), RMixChannel::kIdle);
  channel->Start(1, false);
  channel->Chain(2);
  channel->Chain(3);
  EXPECT_EQ(channel->Condition(), RMixChannel::kQueued);
  const auto played = FromFirstSound(PlayBlocks(8), 5 * kBlock);

  std::vector<std::int16_t> expected = MakePcm(700, 1, gen(1000));
  expected.resize(2 * kBlock, 0);
  const auto second = MakePcm(kBlock, 1, gen(3000));
  expected.insert(expected.end(), second.begin(), second.end());
  const auto third = MakePcm(100, 1, gen(5000));
  expected.insert(expected.end(), third.begin(), third.end());
  expected.resize(5 * kBlock, 0);
  EXPECT_TRUE(played == expected);
}

TEST_F(MixerTest, AChainAfterTheLastQueuedSoundStartedQueuesNothing) {
  AddConstant(1, 1, 20 * kBlock, 100);
  AddConstant(2, 1, kBlock, 200);
  RMixer& mixer = Open(kMono | kRate);
  RMixChannel* channel = mixer.OpenChannel();
  channel->Start(1, false);
  PlayBlocks(4);
  ASSERT_EQ(channel->Condition(), RMixChannel::kPlaying);
  channel->Chain(2);
  EXPECT_EQ(channel->Condition(), RMixChannel::kPlaying);
}

TEST_F(MixerTest, ConditionFollowsTheComputedEndOfTheSoundTakenFromIdle) {
  AddConstant(1, 1, 16000, 100); // two seconds
  AddConstant(2, 1, 8, 100);     // one millisecond
  RMixer& mixer = Open(kMono | kRate);
  RMixChannel* channel = mixer.OpenChannel();
  channel->Start(1, false);
  EXPECT_EQ(channel->Condition(), RMixChannel::kQueued);
  PlayBlocks(1);
  EXPECT_EQ(channel->Condition(), RMixChannel::kPlaying);
  channel->Reset(); // the end time of the discarded sound still counts
  EXPECT_EQ(channel->Condition(), RMixChannel::kPlaying);
  channel->Start(2, false);
  PlayBlocks(1);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(channel->Condition(), RMixChannel::kIdle);
}

TEST_F(MixerTest, RefusedRequestsLeaveTheChannelAsItWas) {
  AddConstant(1, 1, 20 * kBlock, 100);
  index_.AddPcm(2, Pcm16(1, 44100), std::vector<std::int16_t>(100, 1));
  RMixer& mixer = Open(kMono | kRate);
  RMixChannel* channel = mixer.OpenChannel();
  channel->Start(1, false);
  EXPECT_THROW(channel->Start(99, false), PC_BadIndex);
  EXPECT_THROW(channel->Start(2, false), PC_DeviceNotSupport);
  EXPECT_THROW(channel->Chain(2), PC_DeviceNotSupport);
  EXPECT_EQ(channel->Condition(), RMixChannel::kQueued);
  const auto played = FromFirstSound(PlayBlocks(4), kBlock);
  EXPECT_TRUE(std::all_of(played.begin(), played.end(), [](std::int16_t s) { return s == 100; }));
}

TEST_F(MixerTest, ResetSilencesEveryChannelAndMixingGoesOn) {
  AddConstant(1, 2, 40 * kBlock, 300);
  RMixer& mixer = Open(kRate);
  mixer.OpenChannel()->Start(1, true);
  mixer.OpenChannel()->Start(1, false);
  PlayBlocks(4);
  mixer.Reset();
  EXPECT_TRUE(device_.waitForQueued(3));
  const std::size_t before = device_.sessions().at(0).played.size();
  const auto played = PlayBlocks(4);
  EXPECT_EQ(device_.sessions().at(0).resets, 1);
  EXPECT_TRUE(std::all_of(played.begin() + before, played.end(), [](std::int16_t s) { return s == 0; }));
}

TEST_F(MixerTest, AChannelClosedWhileMixingIsNotMixedFromTheNextBlockOn) {
  AddConstant(1, 1, 40 * kBlock, 300);
  AddConstant(2, 1, 40 * kBlock, 20);
  RMixer& mixer = Open(kMono | kRate);
  RMixChannel* closing = mixer.OpenChannel();
  mixer.OpenChannel()->Start(2, false);
  closing->Start(1, true);
  PlayBlocks(5);
  mixer.CloseChannel(closing);
  const std::size_t before = device_.sessions().at(0).played.size();
  const auto played = PlayBlocks(4);
  // Three blocks were mixed before the close; everything after has only channel 2.
  EXPECT_TRUE(std::all_of(played.begin() + before + 3 * kBlock, played.end(), [](std::int16_t s) { return s == 20; }));
  EXPECT_EQ(played[before], 320);
}

TEST_F(MixerTest, CachedSoundsMixLikeStreamedOnesAndReplaceEachOther) {
  const auto sound = AddTkw(1, 2, 3 * kBlock + 17);
  RMixer& mixer = Open(kRate);
  RMixChannel* channel = mixer.OpenChannel();
  channel->Start(1, false);
  const auto streamed = FromFirstSound(PlayBlocks(8), sound.pcm.size());
  EXPECT_TRUE(streamed == sound.pcm);
  mixer.Load(1);
  mixer.Load(1); // a mixer replaces what it has cached
  channel->Start(1, false);
  const std::size_t before = device_.sessions().at(0).played.size();
  const auto played = PlayBlocks(8);
  const auto cached =
      FromFirstSound(std::vector<std::int16_t>(played.begin() + before, played.end()), sound.pcm.size());
  EXPECT_TRUE(cached == sound.pcm);
  mixer.Release(1);
  EXPECT_THROW(mixer.Release(1), PM_BadIndex);
  EXPECT_THROW(mixer.Load(99), PM_BadIndex);
}

TEST_F(MixerTest, DeviceRefusalsFailTheOpen) {
  const std::pair<audio::WaveResult, bool> cases[] = {{audio::WaveResult::Allocated, true},
                                                      {audio::WaveResult::BadFormat, false},
                                                      {audio::WaveResult::BadDevice, true}};
  for (const auto& [result, allocated] : cases) {
    device_.setOpenResult(result);
    auto mixer = RMixer::Create(std::make_unique<testutil::SoundIndexRef>(index_));
    if (allocated)
      EXPECT_THROW(mixer->Open(0), PM_WaveDeviceAllocated);
    else
      EXPECT_THROW(mixer->Open(0), PM_DeviceNotSupport);
    EXPECT_TRUE(ReturnsWithin([&] { mixer->Shutdown(); }));
  }
}

TEST_F(MixerTest, ClosingWhilePlayingReturnsAndReleasesTheDevice) {
  AddTkw(1, 2, 40 * kBlock);
  RMixer& mixer = Open(kRate);
  for (int i = 0; i < 4; ++i)
    mixer.OpenChannel()->Start(1, i % 2 == 0);
  mixer.Load(1);
  PlayBlocks(2);
  EXPECT_TRUE(ReturnsWithin([&] { mixer_->Shutdown(); }));
  mixer_.reset();
  EXPECT_EQ(device_.openDevices(), 0u);
}

TEST_F(MixerTest, AWaitingThreadIsReleasedWhenTheChannelIsReset) {
  AddConstant(1, 1, 40 * kBlock, 1);
  RMixer& mixer = Open(kMono | kRate);
  RMixChannel* channel = mixer.OpenChannel();
  channel->Start(1, false);
  std::atomic<bool> waiting{false};
  bool released = false;
  std::thread waiter([&] {
    waiting = true;
    released = channel->DoneSignal().wait(20000);
  });
  while (!waiting)
    std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  channel->Reset();
  waiter.join();
  EXPECT_TRUE(released);
}

} // namespace
