// The tkwDecode… exports as a host program sees them: only the public header.
#include "testutil/MessageBoxCapture.h"
#include "testutil/TempDir.h"
#include "testutil/TkwTestWriter.h"
#include "tkwDec32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::uint32_t kSector = 131072;

class DecodeExportsTest : public ::testing::Test {
protected:
  TkwDecodeHandle* Open(const testutil::TkwTestSound& sound, std::uint32_t flags = 0) {
    path_ = dir_.file("sound" + std::to_string(++files_) + ".tkw");
    testutil::WriteBytes(path_, sound.bytes);
    TkwDecodeHandle* handle = nullptr;
    EXPECT_EQ(tkwDecodeOpen(&handle, path_.c_str(), flags), TKW_OK);
    handles_.push_back(handle);
    return handle;
  }
  void TearDown() override {
    for (TkwDecodeHandle* handle : handles_)
      EXPECT_EQ(tkwDecodeClose(handle), TKW_OK);
  }

  testutil::TempDir dir_;
  std::string path_;
  int files_ = 0;
  std::vector<TkwDecodeHandle*> handles_;
};

testutil::TkwTestSound Stereo(std::uint32_t length, std::uint32_t rate = 22050) {
  return testutil::MakeRandomTkwSound(length, testutil::TkwCodecParams{}, 2, length, rate);
}

TEST_F(DecodeExportsTest, NullArgumentsAreRefused) {
  TkwDecodeHandle* handle = Open(Stereo(100));
  TkwDecodeHandle* out = nullptr;
  std::uint32_t u32 = 0;
  std::int32_t i32 = 0;
  TkwWaveFormat format{};
  std::int16_t buffer[8];
  EXPECT_EQ(tkwDecodeOpen(nullptr, path_.c_str(), 0), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeOpen(&out, nullptr, 0), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeGetLength(nullptr, &u32), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeGetLength(handle, nullptr), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeGetFormat(nullptr, &format), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeGetFormat(handle, nullptr), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeGetNumSector(nullptr, &i32), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeGetNumSector(handle, nullptr), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeSetSector(nullptr, 0), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeRead(nullptr, buffer, 4, &u32), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeRead(handle, nullptr, 4, &u32), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeReadPulse(nullptr, buffer, 4, &u32), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeReadPulse(handle, nullptr, 4, &u32), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeClose(nullptr), TKW_ERR_NULL_ARGUMENT);
  // A refused call changes nothing.
  u32 = 77;
  EXPECT_EQ(tkwDecodeRead(handle, nullptr, 4, &u32), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(tkwDecodeReadPulse(nullptr, buffer, 4, &u32), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(u32, 77u);
  out = reinterpret_cast<TkwDecodeHandle*>(&u32);
  EXPECT_EQ(tkwDecodeOpen(&out, nullptr, 0), TKW_ERR_NULL_ARGUMENT);
  EXPECT_EQ(out, reinterpret_cast<TkwDecodeHandle*>(&u32));
}

TEST_F(DecodeExportsTest, LengthFormatAndSectors) {
  TkwDecodeHandle* handle = Open(Stereo(2 * kSector, 22050));
  std::uint32_t length = 0;
  EXPECT_EQ(tkwDecodeGetLength(handle, &length), TKW_OK);
  EXPECT_EQ(length, 2 * kSector);
  TkwWaveFormat format{};
  static_assert(sizeof(TkwWaveFormat) == 18);
  EXPECT_EQ(tkwDecodeGetFormat(handle, &format), TKW_OK);
  EXPECT_EQ(format.formatTag, 1);
  EXPECT_EQ(format.channels, 2);
  EXPECT_EQ(format.samplesPerSec, 22050u);
  EXPECT_EQ(format.avgBytesPerSec, 22050u * 4);
  EXPECT_EQ(format.blockAlign, 4);
  EXPECT_EQ(format.bitsPerSample, 16);
  EXPECT_EQ(format.extraSize, 0);

  std::int32_t sectors = 0;
  EXPECT_EQ(tkwDecodeGetNumSector(handle, &sectors), TKW_OK);
  EXPECT_EQ(sectors, 2);
  EXPECT_EQ(tkwDecodeSetSector(handle, 2), TKW_ERR_SECTOR_RANGE);
  EXPECT_EQ(tkwDecodeSetSector(handle, -1), TKW_ERR_SECTOR_RANGE);
  EXPECT_EQ(tkwDecodeSetSector(handle, 1), TKW_OK);

  TkwDecodeHandle* mono = Open(testutil::MakeRandomTkwSound(1, {}, 1, 10, 8000));
  EXPECT_EQ(tkwDecodeGetFormat(mono, &format), TKW_OK);
  EXPECT_EQ(format.channels, 1);
  EXPECT_EQ(format.avgBytesPerSec, 16000u);
  EXPECT_EQ(format.blockAlign, 2);
}

TEST_F(DecodeExportsTest, ReadsWithAndWithoutTheDeliveredCount) {
  const auto sound = Stereo(500);
  TkwDecodeHandle* handle = Open(sound);
  std::vector<std::int16_t> pcm(1200, 0x5555);
  EXPECT_EQ(tkwDecodeRead(handle, pcm.data(), 300, nullptr), TKW_OK);
  std::uint32_t delivered = 99;
  EXPECT_EQ(tkwDecodeRead(handle, pcm.data() + 600, 300, &delivered), TKW_END_OF_SOUND);
  EXPECT_EQ(delivered, 200u);
  std::vector<std::int16_t> expected = sound.pcm;
  expected.resize(1200, 0);
  EXPECT_EQ(pcm, expected);
}

TEST_F(DecodeExportsTest, LoopingReadFillsTheRequest) {
  const auto sound = Stereo(500);
  TkwDecodeHandle* handle = Open(sound, TKW_OPEN_LOOP | TKW_OPEN_STREAM);
  std::vector<std::int16_t> pcm(2400);
  std::uint32_t delivered = 0;
  EXPECT_EQ(tkwDecodeRead(handle, pcm.data(), 1200, &delivered), TKW_OK);
  EXPECT_EQ(delivered, 1200u);
  for (std::size_t i = 0; i < pcm.size(); ++i)
    ASSERT_EQ(pcm[i], sound.pcm[i % 1000]) << i;
}

TEST_F(DecodeExportsTest, ReadPulseDeliversOnlyDecodedFrames) {
  const std::uint32_t length = kSector + 100;
  const auto sound = Stereo(length);
  for (std::uint32_t flags : {0u, static_cast<std::uint32_t>(TKW_OPEN_STREAM)}) {
    SCOPED_TRACE(flags);
    TkwDecodeHandle* handle = Open(sound, flags);
    std::vector<std::int16_t> pcm(2 * kSector);
    std::uint32_t delivered = 99;
    // Nothing decoded yet.
    EXPECT_EQ(tkwDecodeReadPulse(handle, pcm.data(), 10, &delivered), TKW_OK);
    EXPECT_EQ(delivered, 0u);

    ASSERT_EQ(tkwDecodeRead(handle, pcm.data(), 100, &delivered), TKW_OK);
    EXPECT_EQ(tkwDecodeReadPulse(handle, pcm.data(), kSector, &delivered), TKW_OK);
    // The sector mode holds the whole sector; on demand only what the last
    // block decoded past the request.
    if (flags == 0) {
      EXPECT_EQ(delivered, kSector - 100);
    }
    EXPECT_LT(delivered, kSector - 99);
    EXPECT_TRUE(std::equal(pcm.begin(), pcm.begin() + 2 * delivered, sound.pcm.begin() + 200));
    const std::uint32_t position = 100 + delivered;

    // Reading goes on after the pulsed frames.
    ASSERT_EQ(tkwDecodeRead(handle, pcm.data(), 50, nullptr), TKW_OK);
    EXPECT_TRUE(std::equal(pcm.begin(), pcm.begin() + 100, sound.pcm.begin() + 2 * position));
  }
}

TEST_F(DecodeExportsTest, ReadPulseThatUsesUpTheLastSectorRewinds) {
  const auto sound = Stereo(300);
  TkwDecodeHandle* handle = Open(sound);
  std::vector<std::int16_t> pcm(600);
  std::uint32_t delivered = 0;
  ASSERT_EQ(tkwDecodeRead(handle, pcm.data(), 100, &delivered), TKW_OK);
  EXPECT_EQ(tkwDecodeReadPulse(handle, pcm.data(), 300, &delivered), TKW_OK);
  EXPECT_EQ(delivered, 200u);
  ASSERT_EQ(tkwDecodeRead(handle, pcm.data(), 10, &delivered), TKW_OK);
  EXPECT_TRUE(std::equal(pcm.begin(), pcm.begin() + 20, sound.pcm.begin()));
}

TEST_F(DecodeExportsTest, HandlesAreIndependent) {
  const auto a = Stereo(4000);
  const auto b = testutil::MakeRandomTkwSound(77, {}, 1, 3000);
  TkwDecodeHandle* first = Open(a, TKW_OPEN_STREAM);
  TkwDecodeHandle* second = Open(b);
  TkwDecodeHandle* third = Open(a);
  std::vector<std::int16_t> x(2000), y(1000), z(2000);
  ASSERT_EQ(tkwDecodeRead(first, x.data(), 1000, nullptr), TKW_OK);
  ASSERT_EQ(tkwDecodeRead(second, y.data(), 1000, nullptr), TKW_OK);
  ASSERT_EQ(tkwDecodeRead(first, x.data(), 1000, nullptr), TKW_OK);
  ASSERT_EQ(tkwDecodeRead(third, z.data(), 1000, nullptr), TKW_OK);
  EXPECT_TRUE(std::equal(x.begin(), x.end(), a.pcm.begin() + 2000));
  EXPECT_TRUE(std::equal(y.begin(), y.end(), b.pcm.begin()));
  EXPECT_TRUE(std::equal(z.begin(), z.end(), a.pcm.begin()));
}

#ifndef _WIN32 // an open sound cannot be deleted on Windows
TEST_F(DecodeExportsTest, ReadOfAVanishedFileFailsAndResumesWhenItIsBack) {
  const auto sound = Stereo(1000);
  TkwDecodeHandle* handle = Open(sound);
  std::vector<std::int16_t> pcm(200);
  ASSERT_EQ(tkwDecodeRead(handle, pcm.data(), 10, nullptr), TKW_OK);
  const std::vector<std::uint8_t> bytes = testutil::ReadBytes(path_);
  ASSERT_EQ(std::remove(path_.c_str()), 0);
  testutil::MessageBoxCapture boxes;
  std::fill(pcm.begin(), pcm.end(), std::int16_t{7});
  std::uint32_t delivered = 77;
  EXPECT_EQ(tkwDecodeRead(handle, pcm.data(), 100, &delivered), TKW_ERR_FILE_NOT_FOUND);
  EXPECT_EQ(delivered, 77u) << "nothing was read";
  EXPECT_EQ(std::count(pcm.begin(), pcm.end(), 0), 200) << "silence, not stale samples";
  ASSERT_EQ(boxes.messages().size(), 1u);
  EXPECT_EQ(boxes.messages()[0].text, "ファイルハンドルのコピーに失敗しました");
  EXPECT_EQ(boxes.messages()[0].caption, "Debug");
  // The looping mode fails alike instead of filling the request with nothing.
  TkwDecodeHandle* looping = nullptr;
  testutil::WriteBytes(path_, bytes);
  ASSERT_EQ(tkwDecodeOpen(&looping, path_.c_str(), TKW_OPEN_LOOP), TKW_OK);
  handles_.push_back(looping);
  ASSERT_EQ(std::remove(path_.c_str()), 0);
  EXPECT_EQ(tkwDecodeRead(looping, pcm.data(), 100, &delivered), TKW_ERR_FILE_NOT_FOUND);
  EXPECT_EQ(delivered, 77u);

  // Back in place, the sound goes on where it was.
  testutil::WriteBytes(path_, bytes);
  EXPECT_EQ(tkwDecodeRead(handle, pcm.data(), 100, &delivered), TKW_OK);
  EXPECT_EQ(delivered, 100u);
  EXPECT_TRUE(std::equal(pcm.begin(), pcm.end(), sound.pcm.begin() + 2 * 10));
}
#endif

} // namespace
