// Preloading decodes a whole sound into memory, sized by the length its file
// declares: a length the file's data cannot fill, or a cache grown past its
// limit, is refused with 6 before anything is allocated.
#include "format/TkwFormat.h"
#include "playback/PlaybackFixture.h"
#include "tkwDec32.h"

#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kSector = tkw::kSectorLength;
constexpr std::uint32_t kRate = 8000;

// A version-2 sound whose length asks for far more than its chunks hold.
std::vector<std::uint8_t> LyingSound(std::uint32_t length, std::uint8_t channels, std::size_t chunkBytes) {
  testutil::TkwSoundLayout layout;
  layout.length = length;
  layout.channels = channels;
  layout.sampleRate = kRate;
  const std::size_t entries = std::size_t{channels} * tkw::SectorCount(length);
  layout.chunks.assign(entries, std::vector<std::uint8_t>(chunkBytes, 0xFF));
  return testutil::BuildTkwFile(layout);
}

// A version-1 sound whose copy blocks take 4 bits for 512 samples (no
// distance, contrast or brightness bits): a few bytes per sector really do
// decode to whole sectors, so its length is honest.
std::vector<std::uint8_t> DenseSound(std::uint32_t sectors) {
  testutil::TkwSoundLayout layout;
  layout.codec.version = 1;
  layout.codec.offsetBits = 0;
  layout.codec.contrastBits = 0;
  layout.codec.brightnessBits = 0;
  layout.length = sectors * kSector;
  layout.sampleRate = kRate;
  std::vector<testutil::TkwBlock> blocks(kSector / 512, testutil::TkwCopyBlock{7, 0, 0, 0, 0});
  layout.chunks.assign(sectors, testutil::EncodeTkwChunk(layout.codec, blocks));
  return testutil::BuildTkwFile(layout);
}

class PreloadLimitTest : public testutil::PlaybackTest {
protected:
  PreloadLimitTest() { EXPECT_EQ(tkrDecodeOpenNaked(&index_handle_), TKW_OK); }
  ~PreloadLimitTest() override { tkrDecodeClose(index_handle_); }

  void File(std::uint32_t number, const std::vector<std::uint8_t>& bytes) {
    const std::string path = dir_.file(std::to_string(number) + ".tkw");
    testutil::WriteBytes(path, bytes);
    ASSERT_EQ(tkrDecodeAddTkw(index_handle_, path.c_str(), number), TKW_OK);
  }
  void Sound(std::uint32_t number, std::uint32_t frames) {
    File(number, testutil::MakeRandomTkwSound(number, {}, 1, frames, kRate).bytes);
  }

  TkrDecodeHandle* index_handle_ = nullptr;
};

TEST_F(PreloadLimitTest, ALengthTheDataCannotFillIsRefused) {
  // 2^32 - 1 stereo frames (17 GB of samples) in a 524 KB file of empty
  // chunks, and 64 sectors of four-byte chunks.
  File(1, LyingSound(0xFFFFFFFFu, 2, 0));
  File(2, LyingSound(64 * kSector, 1, 4));
  // Copy blocks of 31 bits and 512 samples: 988 bytes are one block short
  // of a sector, 989 bytes fill it.
  File(3, LyingSound(kSector, 1, 988));
  File(4, LyingSound(kSector, 1, 989));
  TkrPlayHandle* player = nullptr;
  ASSERT_EQ(tkrPlayOpen(&player, index_handle_), TKW_OK);
  TkrMixHandle* mixer = nullptr;
  ASSERT_EQ(tkrMixOpen(&mixer, index_handle_, kRate), TKW_OK);
  for (std::uint32_t number : {1u, 2u, 3u}) {
    SCOPED_TRACE(number);
    EXPECT_EQ(tkrPlayLoad(player, number, 0), TKR_ERR_NO_SOUND);
    EXPECT_EQ(tkrPlayRelease(player, number), TKR_ERR_NO_SOUND) << "nothing was loaded";
    EXPECT_EQ(tkrMixLoad(mixer, number, 0), TKR_ERR_NO_SOUND);
    // Streaming needs no such memory and still plays.
    EXPECT_EQ(tkrPlayStart(player, number, nullptr), TKW_OK);
    EXPECT_EQ(tkrPlayReset(player), TKW_OK);
  }
  EXPECT_EQ(tkrPlayLoad(player, 4, 0), TKW_OK);
  EXPECT_EQ(tkrMixLoad(mixer, 4, 0), TKW_OK);
  EXPECT_EQ(tkrMixClose2(mixer), TKW_OK);
  EXPECT_EQ(tkrPlayClose2(player), TKW_OK);
}

TEST_F(PreloadLimitTest, TheCacheKeepsToItsLimit) {
  // 1 MB per player and per mixer; each sound takes 400000 bytes.
  testutil::WriteText(dir_.file("TkwDec32.ini"), "[Tkw_SoundCache]\nMaxCacheMB=1\n");
  for (std::uint32_t number : {1u, 2u, 3u})
    Sound(number, 200000);
  TkrPlayHandle* player = nullptr;
  ASSERT_EQ(tkrPlayOpen(&player, index_handle_), TKW_OK);
  EXPECT_EQ(tkrPlayLoad(player, 1, 0), TKW_OK);
  EXPECT_EQ(tkrPlayLoad(player, 2, 0), TKW_OK);
  EXPECT_EQ(tkrPlayLoad(player, 3, 0), TKR_ERR_NO_SOUND);
  EXPECT_EQ(tkrPlayRelease(player, 1), TKW_OK);
  EXPECT_EQ(tkrPlayLoad(player, 3, 0), TKW_OK) << "a release makes room";

  TkrMixHandle* mixer = nullptr;
  ASSERT_EQ(tkrMixOpen(&mixer, index_handle_, kRate), TKW_OK);
  EXPECT_EQ(tkrMixLoad(mixer, 1, 0), TKW_OK);
  EXPECT_EQ(tkrMixLoad(mixer, 2, 0), TKW_OK);
  EXPECT_EQ(tkrMixLoad(mixer, 2, 0), TKW_OK) << "a sound replacing itself takes no more room";
  EXPECT_EQ(tkrMixLoad(mixer, 3, 0), TKR_ERR_NO_SOUND);
  EXPECT_EQ(tkrMixRelease(mixer, 3), TKR_ERR_NO_SOUND);
  EXPECT_EQ(tkrMixRelease(mixer, 1), TKW_OK);
  EXPECT_EQ(tkrMixLoad(mixer, 3, 0), TKW_OK);
  EXPECT_EQ(tkrMixClose2(mixer), TKW_OK);
  EXPECT_EQ(tkrPlayClose2(player), TKW_OK);
}

TEST_F(PreloadLimitTest, WithoutTheSettingASoundOverTheDefault256MbIsRefused) {
  File(1, DenseSound(1025)); // 1025 sectors of mono: 257 MB of samples in a 131 KB file
  File(2, DenseSound(8));
  TkrPlayHandle* player = nullptr;
  ASSERT_EQ(tkrPlayOpen(&player, index_handle_), TKW_OK);
  EXPECT_EQ(tkrPlayLoad(player, 1, 0), TKR_ERR_NO_SOUND);
  EXPECT_EQ(tkrPlayLoad(player, 2, 0), TKW_OK);
  EXPECT_EQ(tkrPlayClose2(player), TKW_OK);
}

} // namespace
