// An archive read from memory holds the same sounds as the same bytes in a
// file, each decoding exactly as the model says, in both modes.
#include "decoder/TkrArchive.h"
#include "decoder/TkwDecodeHandle.h"
#include "support/MemoryByteSource.h"
#include "testutil/TempDir.h"
#include "testutil/TkrTestArchive.h"
#include "testutil/TkwTestWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::vector<std::int16_t> DecodeAll(TkwDecodeHandle& handle) {
  const std::uint32_t length = handle.Decoder().Length();
  std::vector<std::int16_t> samples(std::size_t{length} * static_cast<std::size_t>(handle.Decoder().Channels()) + 2);
  std::uint32_t delivered = 0;
  EXPECT_EQ(handle.Read(samples.data(), length, &delivered), TkwDecoder::kStatusEnd);
  EXPECT_EQ(delivered, length);
  samples.resize(samples.size() - 2);
  return samples;
}

TEST(TkrArchiveSource, AnArchiveInMemoryReadsLikeItsFile) {
  testutil::TkwCodecParams codec;
  codec.version = 3;
  const std::vector<testutil::TkwTestSound> sounds = {testutil::MakeRandomTkwSound(41, codec, 2, 131072 + 10),
                                                      testutil::MakeRandomTkwSound(42, codec, 1, 999)};
  const std::vector<std::uint8_t> bytes = testutil::BuildTkrArchive({{8, sounds[0].bytes}, {3, sounds[1].bytes}});
  testutil::TempDir dir;
  const std::string path = dir.file("a.tkr");
  testutil::WriteBytes(path, bytes);

  const auto fromFile = TkrArchive::Read(path.c_str(), nullptr);
  const auto fromMemory = TkrArchive::Read(std::make_unique<MemoryByteSource>(bytes.data(), bytes.size()), nullptr);
  ASSERT_EQ(fromMemory->Numbers(), (std::vector<std::uint32_t>{8, 3}));
  EXPECT_EQ(fromMemory->Numbers(), fromFile->Numbers());
  for (std::size_t i = 0; i < sounds.size(); ++i) {
    for (std::uint32_t flags : {0u, kTkwOpenStream}) {
      SCOPED_TRACE(::testing::Message() << "sound " << i << " flags " << flags);
      const auto memorySound = fromMemory->OpenSound(i, flags, nullptr);
      const auto fileSound = fromFile->OpenSound(i, flags, nullptr);
      EXPECT_EQ(DecodeAll(*memorySound), sounds[i].pcm);
      EXPECT_EQ(DecodeAll(*fileSound), sounds[i].pcm);
    }
  }
}

} // namespace
