// Sound decoding through decode handles: sector boundaries, the end-of-sound
// status and zero fill, the loop flag, sector selection, and the two modes
// giving the same frames for any sequence of requests.
#include "decoder/TkwBlockDecoderFactory.h"
#include "decoder/TkwDecodeHandle.h"
#include "support/Exceptions.h"
#include "support/FileByteSource.h"
#include "support/MemoryByteSource.h"
#include "support/WindowByteSource.h"
#include "testutil/TempDir.h"
#include "testutil/TkwTestWriter.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using testutil::TkwCodecParams;
using testutil::TkwTestSound;

constexpr std::uint32_t kSector = 131072;

TkwCodecParams V1() {
  TkwCodecParams codec;
  codec.version = 1;
  codec.offsetBits = 12;
  return codec;
}

TkwCodecParams V2(std::uint8_t offsetBits = 10) {
  TkwCodecParams codec;
  codec.offsetBits = offsetBits;
  return codec;
}

TkwCodecParams V3() {
  TkwCodecParams codec;
  codec.version = 3;
  codec.offsetBits = 14;
  return codec;
}

// The messages a handle tells, kept for the test to look at.
struct MessageLog {
  std::vector<std::string> captions;
  TkwMessageSink Sink() {
    return [this](const char*, const char* caption) { captions.push_back(caption); };
  }
};

class SoundFile {
public:
  explicit SoundFile(const TkwTestSound& sound) : path_(dir_.file("sound.tkw")) {
    testutil::WriteBytes(path_, sound.bytes);
  }
  std::unique_ptr<TkwDecodeHandle> Open(std::uint32_t flags) const {
    return TkwDecodeHandle::Open(path_.c_str(), flags, nullptr);
  }
  const std::string& path() const { return path_; }

private:
  testutil::TempDir dir_;
  std::string path_;
};

struct ReadResult {
  std::int32_t status;
  std::uint32_t delivered;
  std::vector<std::int16_t> samples;
};

ReadResult Read(TkwDecodeHandle& handle, std::uint32_t frames) {
  ReadResult r;
  // Poisoned, so that the zero fill is seen.
  r.samples.assign(std::size_t{frames} * handle.Decoder().Channels(), 0x5555);
  r.status = handle.Read(r.samples.data(), frames, &r.delivered);
  return r;
}

std::vector<std::int16_t> Slice(const std::vector<std::int16_t>& pcm, std::size_t frame, std::size_t frames,
                                int channels) {
  return std::vector<std::int16_t>(pcm.begin() + frame * channels, pcm.begin() + (frame + frames) * channels);
}

struct BoundaryCase {
  std::uint32_t length;
  std::uint8_t channels;
  std::uint32_t sectors;
};

class SectorBoundaryTest : public ::testing::TestWithParam<std::tuple<BoundaryCase, std::uint32_t>> {};

// One read of the whole sound ends it (13), delivers every frame as the
// model decodes it, and the next read starts at frame 0 again.
TEST_P(SectorBoundaryTest, WholeSoundInOneReadThenAgainFromTheStart) {
  const auto [c, flags] = GetParam();
  const TkwTestSound sound = testutil::MakeRandomTkwSound(c.length, V2(), c.channels, c.length);
  SoundFile file(sound);
  auto handle = file.Open(flags);
  EXPECT_EQ(handle->Decoder().SectorCount(), c.sectors);

  const ReadResult all = Read(*handle, c.length);
  EXPECT_EQ(all.status, 13);
  EXPECT_EQ(all.delivered, c.length);
  EXPECT_EQ(all.samples, sound.pcm);

  const ReadResult again = Read(*handle, 10);
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.samples, Slice(sound.pcm, 0, 10, c.channels));
}

INSTANTIATE_TEST_SUITE_P(Lengths, SectorBoundaryTest,
                         ::testing::Combine(::testing::Values(BoundaryCase{kSector, 1, 1},
                                                              BoundaryCase{kSector + 1, 1, 2},
                                                              BoundaryCase{2 * kSector, 2, 2}),
                                            ::testing::Values(0u, kTkwOpenStream)));

class EndOfSoundTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(EndOfSoundTest, ShortLastRequestIsZeroFilledAndRewinds) {
  const TkwTestSound sound = testutil::MakeRandomTkwSound(7, V2(), 2, 1300);
  SoundFile file(sound);
  auto handle = file.Open(GetParam());

  EXPECT_EQ(Read(*handle, 1000).status, 0);
  const ReadResult tail = Read(*handle, 1000);
  EXPECT_EQ(tail.status, 13);
  EXPECT_EQ(tail.delivered, 300u);
  std::vector<std::int16_t> expected = Slice(sound.pcm, 1000, 300, 2);
  expected.resize(2000, 0);
  EXPECT_EQ(tail.samples, expected);
  EXPECT_EQ(Read(*handle, 5).samples, Slice(sound.pcm, 0, 5, 2));
}

TEST_P(EndOfSoundTest, RequestEndingOnTheLastFrameReports13) {
  const TkwTestSound sound = testutil::MakeRandomTkwSound(8, V1(), 1, 1000);
  SoundFile file(sound);
  auto handle = file.Open(GetParam());
  EXPECT_EQ(Read(*handle, 400).status, 0);
  const ReadResult last = Read(*handle, 600);
  EXPECT_EQ(last.status, 13);
  EXPECT_EQ(last.delivered, 600u);
  EXPECT_EQ(last.samples, Slice(sound.pcm, 400, 600, 1));
}

TEST_P(EndOfSoundTest, LoopFlagWrapsAndFillsEveryRequest) {
  const TkwTestSound sound = testutil::MakeRandomTkwSound(9, V2(), 2, 700);
  SoundFile file(sound);
  auto handle = file.Open(GetParam() | kTkwOpenLoop);
  const ReadResult r = Read(*handle, 1700);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.delivered, 1700u);
  std::vector<std::int16_t> expected = sound.pcm;
  expected.insert(expected.end(), sound.pcm.begin(), sound.pcm.end());
  expected.insert(expected.end(), sound.pcm.begin(), sound.pcm.begin() + 300 * 2);
  EXPECT_EQ(r.samples, expected);
  // The position continues after the wrap.
  EXPECT_EQ(Read(*handle, 4).samples, Slice(sound.pcm, 300, 4, 2));
}

TEST_P(EndOfSoundTest, EmptySoundEndsAtOnceEvenWhenLooping) {
  testutil::TkwSoundLayout layout;
  layout.length = 0;
  TkwTestSound sound;
  sound.bytes = testutil::BuildTkwFile(layout);
  SoundFile file(sound);
  for (std::uint32_t loop : {0u, kTkwOpenLoop}) {
    auto handle = file.Open(GetParam() | loop);
    const ReadResult r = Read(*handle, 64);
    EXPECT_EQ(r.status, loop ? 0 : 13);
    EXPECT_EQ(r.delivered, 0u);
    EXPECT_EQ(r.samples, std::vector<std::int16_t>(64, 0));
    EXPECT_EQ(Read(*handle, 0).status, loop ? 0 : 13);
  }
}

TEST_P(EndOfSoundTest, SectorSelectionStartsAtTheSectorAndChecksItsRange) {
  const std::uint32_t length = 2 * kSector + 5000;
  const TkwTestSound sound = testutil::MakeRandomTkwSound(10, V1(), 2, length);
  SoundFile file(sound);
  auto handle = file.Open(GetParam());
  EXPECT_EQ(Read(*handle, 100).status, 0);
  EXPECT_FALSE(handle->SetSector(3));
  EXPECT_FALSE(handle->SetSector(-1));
  // A refused selection leaves the position alone.
  EXPECT_EQ(Read(*handle, 10).samples, Slice(sound.pcm, 100, 10, 2));

  ASSERT_TRUE(handle->SetSector(2));
  const ReadResult last = Read(*handle, 6000);
  EXPECT_EQ(last.status, 13);
  EXPECT_EQ(last.delivered, 5000u);
  EXPECT_EQ(Slice(last.samples, 0, 5000, 2), Slice(sound.pcm, 2 * kSector, 5000, 2));

  ASSERT_TRUE(handle->SetSector(1));
  EXPECT_EQ(Read(*handle, 300).samples, Slice(sound.pcm, kSector, 300, 2));
  ASSERT_TRUE(handle->SetSector(0));
  EXPECT_EQ(Read(*handle, 300).samples, Slice(sound.pcm, 0, 300, 2));
}

INSTANTIATE_TEST_SUITE_P(Modes, EndOfSoundTest, ::testing::Values(0u, kTkwOpenStream));

// Both modes, fed the same random request sizes (1 frame up to more than a
// sector, with sector selections mixed in), deliver the same frames and
// statuses as each other and as the model, from the file and from the same
// bytes in memory.
TEST(DecoderModesTest, SameFramesAndStatusesForAnyRequestSequence) {
  struct Case {
    TkwCodecParams codec;
    std::uint8_t channels;
    std::uint32_t length;
  };
  const Case cases[] = {
      {V2(), 1, kSector + 777}, {V1(), 2, kSector + 3000}, {V3(), 2, 40000}, {V2(14), 2, 2 * kSector + 1}};
  std::uint32_t seed = 100;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "version " << c.codec.version << " channels " << int(c.channels));
    const TkwTestSound sound = testutil::MakeRandomTkwSound(++seed, c.codec, c.channels, c.length);
    SoundFile file(sound);
    auto inMemory = [&sound](std::uint32_t flags) {
      return TkwDecodeHandle::Open(std::make_unique<MemoryByteSource>(sound.bytes.data(), sound.bytes.size()), flags,
                                   nullptr);
    };
    std::unique_ptr<TkwDecodeHandle> handles[] = {file.Open(0), file.Open(kTkwOpenStream), inMemory(0),
                                                  inMemory(kTkwOpenStream)};
    TkwDecodeHandle& sector = *handles[0];
    std::mt19937 rng(seed);
    std::size_t position = 0;
    for (int step = 0; step < 300; ++step) {
      if (rng() % 40 == 0) {
        const auto k = static_cast<std::int32_t>(rng() % sector.Decoder().SectorCount());
        for (auto& handle : handles)
          ASSERT_TRUE(handle->SetSector(k));
        position = std::size_t{kSector} * k;
      }
      const auto pick = [&rng](std::uint32_t below) { return 1 + static_cast<std::uint32_t>(rng() % below); };
      const std::uint32_t sizes[] = {1, pick(7), pick(600), pick(20000), kSector + 100};
      const std::uint32_t frames = sizes[rng() % 5];
      const ReadResult a = Read(sector, frames);
      for (std::size_t h = 1; h < std::size(handles); ++h) {
        const ReadResult b = Read(*handles[h], frames);
        ASSERT_EQ(a.status, b.status) << "step " << step << " handle " << h;
        ASSERT_EQ(a.delivered, b.delivered) << "step " << step << " handle " << h;
        ASSERT_EQ(a.samples, b.samples) << "step " << step << " handle " << h;
      }
      ASSERT_EQ(Slice(a.samples, 0, a.delivered, c.channels), Slice(sound.pcm, position, a.delivered, c.channels));
      position = a.status == 13 ? 0 : position + a.delivered;
    }
  }
}

// A sound stored at some offset inside another file, described by header
// values and a table as an archive keeps them, reads like the same .tkw file.
TEST(DecodeHandleCreateTest, SoundInsideAnotherFileReadsLikeTheFile) {
  const TkwTestSound sound = testutil::MakeRandomTkwSound(31, V1(), 2, kSector + 50);
  const std::uint32_t dataStart = testutil::TkwDataOffset(sound.layout);
  // Anything may come before the data area.
  std::vector<std::uint8_t> container(1000 + sound.bytes.size() - dataStart, 0xA5);
  std::copy(sound.bytes.begin() + dataStart, sound.bytes.end(), container.begin() + 1000);
  testutil::TempDir dir;
  const std::string path = dir.file("container.bin");
  testutil::WriteBytes(path, container);

  TkwHeaderValues header = TkwHeaderValues::FromV1Fields(sound.bytes.data() + 8);
  ASSERT_NO_THROW(CheckTkwHeaderValues(header));
  const auto table = ParseTkwSectorTable(sound.bytes.data() + 32, header.entryCount);
  ASSERT_NO_THROW(CheckTkwSectorTable(header, table, static_cast<std::int64_t>(container.size()) - 1000));
  EXPECT_THROW(CheckTkwSectorTable(header, table, static_cast<std::int64_t>(container.size()) - 1001), TKW_BadFormat);
  const auto prototype = MakeTkwBlockDecoder(header);
  for (std::uint32_t flags : {0u, kTkwOpenStream}) {
    auto data = std::make_unique<WindowByteSource>(std::make_unique<FileByteSource>(path.c_str()), 1000,
                                                   static_cast<std::int64_t>(container.size()) - 1000);
    auto handle = TkwDecodeHandle::Create(std::move(data), header, table, prototype->Clone(), flags, nullptr);
    const ReadResult r = Read(*handle, kSector + 50);
    EXPECT_EQ(r.status, 13);
    EXPECT_EQ(r.samples, sound.pcm);
  }
}

TEST(DecodeHandleCreateTest, RefusesValuesTheDecoderCannotHold) {
  const TkwTestSound sound = testutil::MakeRandomTkwSound(32, V2(), 1, 100);
  TkwHeaderValues header = TkwHeaderValues::FromV2Fields(sound.bytes.data() + 12, 2);
  auto table = ParseTkwSectorTable(sound.bytes.data() + 28, header.entryCount);
  const auto blocks = MakeTkwBlockDecoder(header);
  TkwHeaderValues stereo = header;
  stereo.channels = 2; // one entry for two channels
  auto data = [&sound] { return std::make_unique<MemoryByteSource>(sound.bytes.data(), sound.bytes.size()); };
  EXPECT_THROW(TkwDecodeHandle::Create(data(), stereo, table, blocks->Clone(), 0, nullptr), TKW_BadFormat);
  auto big = table;
  big[0].size = 524289;
  EXPECT_THROW(TkwDecodeHandle::Create(data(), header, big, blocks->Clone(), 0, nullptr), TKW_BadFormat);
  auto beyond = table;
  beyond[0].size = static_cast<std::uint32_t>(sound.bytes.size()) + 1;
  EXPECT_THROW(TkwDecodeHandle::Create(data(), header, beyond, blocks->Clone(), 0, nullptr), TKW_BadFormat)
      << "a chunk must lie inside the data it is read from";
}

TEST(DecodeHandleCreateTest, MissingFileWarnsAndEveryReadFails) {
  const TkwTestSound sound = testutil::MakeRandomTkwSound(33, V3(), 2, 300);
  const TkwHeaderValues header = TkwHeaderValues::FromV2Fields(sound.bytes.data() + 12, 3);
  EXPECT_EQ(header.CodecVersion(), 3u);
  const auto table = ParseTkwSectorTable(sound.bytes.data() + 28, header.entryCount);
  testutil::TempDir dir;
  MessageLog log;
  auto data =
      std::make_unique<WindowByteSource>(std::make_unique<FileByteSource>(dir.file("gone.tkr").c_str()), 0, 1 << 20);
  auto handle =
      TkwDecodeHandle::Create(std::move(data), header, table, MakeTkwBlockDecoder(header), kTkwOpenLoop, log.Sink());
  EXPECT_EQ(log.captions, std::vector<std::string>{"Debug"});
  std::vector<std::int16_t> pcm(2000);
  std::uint32_t delivered = 0;
  EXPECT_THROW(handle->Read(pcm.data(), 1000, &delivered), TKW_CannotOpen);
  EXPECT_EQ(log.captions, (std::vector<std::string>{"Debug", "Debug"}));
}

} // namespace
