// The first step of a play request: a preloaded number plays from memory
// without asking the index, any other is opened through the index, and a
// number with nothing to play is refused.
#include "playback/OpenSource.h"
#include "PlaybackFixture.h"
#include "playback/SoundCache.h"
#include "support/Exceptions.h"

namespace {

class OpenSourceTest : public testutil::PlaybackTest {
protected:
  SoundCache cache_{SoundCache::Owner::Mixer};
};

TEST_F(OpenSourceTest, PreloadedSoundsComeFromMemoryOthersFromTheIndex) {
  index_.AddPcm(1, testutil::Pcm16(1, 8000), std::vector<std::int16_t>(100, 5));
  AddTkw(2, 2, 300);
  cache_.Load(index_, 1, 0);
  for (bool loop : {false, true}) {
    SCOPED_TRACE(loop);
    const int opensBefore = index_.Opens();
    const auto cached = OpenSource(cache_, index_, 1, loop);
    EXPECT_EQ(index_.Opens(), opensBefore) << "a preloaded sound does not ask the index";
    EXPECT_EQ(cached->number, 1u);
    EXPECT_EQ(cached->loop, loop);
    EXPECT_EQ(cached->GetLength(), 100u);

    const auto streamed = OpenSource(cache_, index_, 2, loop);
    EXPECT_EQ(streamed->number, 2u);
    EXPECT_EQ(streamed->loop, loop);
    EXPECT_EQ(streamed->GetLength(), 300u);
  }
}

TEST_F(OpenSourceTest, ANumberWithNothingToPlayIsRefused) {
  index_.AddFile(3, dir_.file("gone.tkw")); // known to the index, but no file
  EXPECT_THROW(OpenSource(cache_, index_, 9, false), PC_BadIndex);
  EXPECT_THROW(OpenSource(cache_, index_, 3, false), PC_BadIndex);
}

} // namespace
