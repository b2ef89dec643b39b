// Memory sources (end, zero fill, loops, a looping sound of no frames), decode
// sources against the decoder, and the sound cache with its log lines.
#include "PlaybackFixture.h"
#include "platform/Files.h"
#include "playback/LibrarySettings.h"
#include "playback/RMemorySource.h"
#include "playback/SoundCache.h"
#include "support/Exceptions.h"

#include <algorithm>

namespace {

using testutil::MakePcm;
using testutil::Pcm16;

CachedSound Sound(std::uint32_t frames, std::uint16_t channels) {
  CachedSound sound;
  sound.format = Pcm16(channels, 8000);
  sound.frames = frames;
  sound.channelCount = channels;
  sound.samples = std::make_shared<const std::vector<std::int16_t>>(
      MakePcm(frames, channels, [](std::uint32_t f, int c) { return static_cast<std::int16_t>(10 * f + c + 1); }));
  return sound;
}

struct Step {
  std::uint32_t frames;
  std::int32_t status;
  std::uint32_t copied;
  std::vector<std::uint32_t> sourceFrames; // frame of the sound at each place, or kZero
};

constexpr std::uint32_t kZero = 0xFFFFFFFF;

struct MemoryCase {
  const char* name;
  std::uint32_t length;
  bool loop;
  std::vector<Step> steps;
};

TEST(RMemorySource, ReadsFollowTheSoundAndItsEnd) {
  const MemoryCase cases[] = {
      {"past the end", 4, false, {{3, 0, 3, {0, 1, 2}}, {3, 13, 1, {3, kZero, kZero}}, {2, 0, 2, {0, 1}}}},
      {"ending exactly", 4, false, {{4, 13, 4, {0, 1, 2, 3}}}},
      {"looping past twice", 3, true, {{2, 0, 2, {0, 1}}, {8, 0, 8, {2, 0, 1, 2, 0, 1, 2, 0}}, {1, 0, 1, {1}}}},
      {"looping exactly", 2, true, {{2, 0, 2, {0, 1}}, {2, 0, 2, {0, 1}}}},
      {"looping nothing", 0, true, {{5, 0, 0, {kZero, kZero, kZero, kZero, kZero}}}},
      {"nothing", 0, false, {{2, 13, 0, {kZero, kZero}}}},
  };
  for (const MemoryCase& c : cases) {
    const CachedSound sound = Sound(c.length, 2);
    RMemorySource source(sound, c.loop);
    EXPECT_EQ(source.GetLength(), c.length);
    for (const Step& step : c.steps) {
      std::vector<std::int16_t> out(std::size_t{step.frames} * 2, 0x5555);
      std::uint32_t copied = 99;
      EXPECT_EQ(source.Read(out.data(), step.frames, &copied), step.status) << c.name;
      EXPECT_EQ(copied, step.copied) << c.name;
      std::vector<std::int16_t> expected;
      for (std::uint32_t f : step.sourceFrames) {
        expected.push_back(f == kZero ? 0 : static_cast<std::int16_t>(10 * f + 1));
        expected.push_back(f == kZero ? 0 : static_cast<std::int16_t>(10 * f + 2));
      }
      EXPECT_EQ(out, expected) << c.name;
    }
    EXPECT_EQ(source.Read(nullptr, 0, nullptr), c.loop ? 0 : source.Read(nullptr, 0, nullptr)) << c.name;
  }
}

class SoundCacheTest : public testutil::PlaybackTest {};

TEST_F(SoundCacheTest, DecodeAndMemorySourcesGiveTheSameFrames) {
  const auto sound = AddTkw(3, 2, 140000, 44100); // crosses a sector boundary
  SoundCache cache(SoundCache::Owner::Mixer);
  cache.Load(index_, 3, 0);
  const auto cached = cache.Find(3);
  ASSERT_TRUE(cached.has_value());
  EXPECT_EQ(cached->frames, 140000u);
  EXPECT_TRUE(*cached->samples == sound.pcm);
  auto streamed = index_.Open(3, 0);
  RMemorySource memory(*cached, false);
  std::vector<std::int16_t> a(2 * 50000), b(2 * 50000);
  for (int i = 0; i < 3; ++i) {
    std::uint32_t gotA = 0, gotB = 0;
    EXPECT_EQ(streamed->Read(a.data(), 50000, &gotA), memory.Read(b.data(), 50000, &gotB));
    EXPECT_EQ(gotA, gotB);
    EXPECT_TRUE(a == b) << "read " << i;
  }
}

TEST_F(SoundCacheTest, PlayerLoadsOnceAndLogsLoadsAndReleasesInBucketOrder) {
  testutil::WriteText(dir_.file("TkwDec32.ini"), "[Debug]\nbMakeLog=1\n");
  settings::ReadLogSetting();
  for (std::uint32_t number : {2u, 1u, 1051u})
    index_.AddPcm(number, Pcm16(1, 8000), std::vector<std::int16_t>(4, 1));
  SoundCache cache(SoundCache::Owner::Player);
  cache.Load(index_, 1051, 0);
  cache.Load(index_, 2, 0);
  cache.Load(index_, 1, 0);
  EXPECT_THROW(cache.Load(index_, 1, 0), PC_BadIndex);
  EXPECT_THROW(cache.Load(index_, 7, 0), PC_BadIndex);
  cache.Release(2);
  EXPECT_THROW(cache.Release(2), PC_BadIndex);
  cache.ReleaseAll();
  EXPECT_EQ(cache.Count(), 0u);
  // Release order is bucket order: 2 -> bucket 1, 1 -> bucket 2, 1051 -> bucket 1038.
  std::string log = testutil::ReadText(dir_.file("Log.txt"));
  log.erase(std::remove(log.begin(), log.end(), '\r'), log.end()); // text mode writes CR LF on Windows
  EXPECT_EQ(log, "1051 をメモリへロードしました。\n"
                 "2 をメモリへロードしました。\n"
                 "1 をメモリへロードしました。\n"
                 "2 を解放しました。\n"
                 "1 を解放しました。\n"
                 "1051 を解放しました。\n");
  testutil::WriteText(dir_.file("TkwDec32.ini"), "");
  settings::ReadLogSetting();
}

TEST_F(SoundCacheTest, WithoutTheSettingNoLogIsWritten) {
  settings::ReadLogSetting();
  index_.AddPcm(1, Pcm16(1, 8000), std::vector<std::int16_t>(4, 1));
  SoundCache cache(SoundCache::Owner::Player);
  cache.Load(index_, 1, 0);
  cache.Release(1);
  EXPECT_FALSE(testutil::FileExists(dir_.file("Log.txt")));
}

TEST(LibrarySettings, TheFileIsTheCurrentDirectorysOrTheRootsWhenTheDirectoryIsTooLong) {
  testutil::TempDir dir;
  {
    testutil::ScopedCurrentDirectory cwd(dir.path());
    EXPECT_EQ(settings::SettingsPath(), plat::currentDirectory() + plat::kPathSeparator + "TkwDec32.ini");
  }
#ifndef _WIN32 // Windows cannot make a folder this deep current
  // 252 characters: past the room for the directory.
  std::string deep = dir.path();
  while (deep.size() < 252) {
    const std::size_t part = std::min<std::size_t>(40, 252 - deep.size() - 1);
    deep += plat::kPathSeparator + std::string(std::max<std::size_t>(part, 1), 'd');
    ASSERT_TRUE(plat::makeDirectory(deep.c_str())) << deep;
  }
  testutil::ScopedCurrentDirectory cwd(deep);
  EXPECT_EQ(settings::SettingsPath(), std::string(1, plat::kPathSeparator) + "TkwDec32.ini");
#endif
}

} // namespace
